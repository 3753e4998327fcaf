#pragma once
// A drag of a shell file list (CF_HDROP), started in this process and dropped at a screen point.
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

// Moves the cursor to `screenPoint` and runs DoDragDrop with the button already up, so OLE drops
// at once; offers copy, move and link, as the shell does. The effect the target chose, or
// DROPEFFECT_NONE.
DWORD DragFilesTo(POINT screenPoint, const std::vector<std::wstring>& paths);

// A data object offering `block` as CF_HDROP in global memory, as the shell's does; it owns the
// block. The caller holds its one reference.
IDataObject* NewFileListData(HGLOBAL block);

// A DROPFILES block with wide names, in movable global memory owned by the caller.
HGLOBAL MakeFileListBlock(const std::vector<std::wstring>& paths);

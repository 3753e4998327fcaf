#pragma once
// Names in a sums file that would make Windows reach beyond the files on this machine: a network
// share (opening it connects to the host and offers the user's credentials), a path in the
// system's device namespace (pipes, volumes, raw disks), or a reserved device name (a serial
// port, a printer, the console) that may never answer. The rule reads a name with Windows' eyes,
// '\' and '/' alike, whatever platform the code is built for, so that it is tested natively.
#include "runtime/text.h"

enum class NameReach { LOCAL, NETWORK, DEVICE_NAMESPACE, DEVICE };

// What `name`, as written in a sums file, reaches when Windows opens it.
NameReach ReachOfWrittenName(const Text& name);

// Why a name of that reach is not opened, one sentence; the empty text for LOCAL.
Text NotOpenedReason(NameReach reach);

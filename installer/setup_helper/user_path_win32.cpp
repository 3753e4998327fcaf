#include <windows.h>

#include "installer/setup_helper/user_path.h"

#include <optional>

#include "installer/setup_helper/path_list.h"

namespace {

constexpr const wchar_t* ENVIRONMENT_KEY = L"Environment";
constexpr const wchar_t* PATH_VALUE = L"Path";
// The type Windows gives a user's Path: entries may name %VARIABLES%.
constexpr DWORD NEW_PATH_TYPE = REG_EXPAND_SZ;
constexpr UINT ANNOUNCE_TIMEOUT_MS = 5000;

class EnvironmentKey {
 public:
  EnvironmentKey() {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ENVIRONMENT_KEY, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~EnvironmentKey() {
    if (key_) RegCloseKey(key_);
  }
  EnvironmentKey(const EnvironmentKey&) = delete;
  EnvironmentKey& operator=(const EnvironmentKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;  // ours to close
};

struct StoredValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::string bytes;
};

// The value as stored, at whatever length; nothing when the registry refuses.
std::optional<StoredValue> ReadPathValue(HKEY key) {
  StoredValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExW(key, PATH_VALUE, nullptr, &value.type, nullptr, &size);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.bytes.resize(size);
    status = RegQueryValueExW(key, PATH_VALUE, nullptr, &value.type,
                              reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    if (status == ERROR_SUCCESS) {
      value.bytes.resize(size);
      value.present = true;
      return value;
    }
  }
  if (status == ERROR_FILE_NOT_FOUND) return StoredValue{};
  return std::nullopt;
}

bool WritePathValue(HKEY key, DWORD type, const RegistryText& text) {
  std::string bytes = RegistryBytes(text);
  return RegSetValueExW(key, PATH_VALUE, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

// New consoles started from Explorer take the changed PATH.
void AnnounceEnvironmentChange() {
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>(ENVIRONMENT_KEY), SMTO_ABORTIFHUNG,
                      ANNOUNCE_TIMEOUT_MS, nullptr);
}

std::optional<RegistryText> PlainText(const StoredValue& value) {
  if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::nullopt;
  return ReadRegistryText(value.bytes);
}

PathEdit Written(bool written, PathEdit edit) {
  if (!written) return PathEdit::FAILED;
  AnnounceEnvironmentChange();
  return edit;
}

}  // namespace

PathEdit AddUserPathEntry(const std::u16string& entry) {
  if (!IsFolderName(entry)) return PathEdit::FAILED;
  EnvironmentKey key;
  if (!key.get()) return PathEdit::FAILED;
  std::optional<StoredValue> value = ReadPathValue(key.get());
  if (!value) return PathEdit::FAILED;
  if (!value->present) {
    // An empty PATH with the entry added: the entry alone, written as any added one is.
    RegistryText created{PathWithEntry(u"", entry).value(), std::u16string(1, u'\0')};
    return Written(WritePathValue(key.get(), NEW_PATH_TYPE, created), PathEdit::CREATED);
  }
  std::optional<RegistryText> text = PlainText(*value);
  if (!text || !PathQuotesClosed(text->text)) return PathEdit::LEFT_ALONE;
  std::optional<std::u16string> changed = PathWithEntry(text->text, entry);
  if (!changed) return PathEdit::UNCHANGED;
  text->text = *changed;
  return Written(WritePathValue(key.get(), value->type, *text), PathEdit::CHANGED);
}

PathEdit RemoveUserPathEntry(const std::u16string& entry, bool deleteWhenEmpty) {
  if (!IsFolderName(entry)) return PathEdit::FAILED;
  EnvironmentKey key;
  if (!key.get()) return PathEdit::FAILED;
  std::optional<StoredValue> value = ReadPathValue(key.get());
  if (!value) return PathEdit::FAILED;
  if (!value->present) return PathEdit::UNCHANGED;
  std::optional<RegistryText> text = PlainText(*value);
  if (!text) return PathEdit::LEFT_ALONE;
  std::optional<std::u16string> changed = PathWithoutEntry(text->text, entry);
  if (!changed) return PathEdit::UNCHANGED;
  if (changed->empty() && deleteWhenEmpty) {
    return Written(RegDeleteValueW(key.get(), PATH_VALUE) == ERROR_SUCCESS, PathEdit::CHANGED);
  }
  text->text = *changed;
  return Written(WritePathValue(key.get(), value->type, *text), PathEdit::CHANGED);
}

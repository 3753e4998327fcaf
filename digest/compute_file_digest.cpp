#include "digest/compute_file_digest.h"

#include "digest/file/digest_file.h"
#include "runtime/main_heap.h"

namespace {

constexpr int64_t TO_END_OF_FILE = -1;

// The read buffer and the context, each given back on every path.
struct ReadBuffer {
  uint8_t* bytes = static_cast<uint8_t*>(AllocateFromMainHeap(DIGEST_READ_SIZE));
  ~ReadBuffer() { ReleaseToMainHeap(bytes); }
};

struct PluginContext {
  const DigestPlugin* plugin;
  DigestContext* context;
  ~PluginContext() {
    if (context) plugin->free(context);
  }
};

// Streams the file through the context in pieces of DIGEST_READ_SIZE. False when a read fails:
// a digest of the bytes before the failure would not be the file's.
bool StreamFile(DigestFile& file, uint8_t* buffer, const PluginContext& target, int64_t length) {
  uint64_t asked = 0;
  for (;;) {
    uint32_t request = DIGEST_READ_SIZE;
    const uint64_t askedBefore = asked;
    asked += DIGEST_READ_SIZE;
    if (length != TO_END_OF_FILE && asked > static_cast<uint64_t>(length)) {
      request = static_cast<uint32_t>(static_cast<uint64_t>(length) - askedBefore);
    }
    const int64_t bytesRead = file.Read(buffer, request);
    if (bytesRead < 0) return false;
    target.plugin->update(target.context, buffer, static_cast<uint32_t>(bytesRead));
    if (bytesRead != DIGEST_READ_SIZE) return true;
  }
}

}  // namespace

Text DigestToHex(const DigestContext* context) {
  static const wchar_t DIGITS[] = L"0123456789abcdef";
  Text text;
  if (!context) return text;
  const int count = context->bits / 8;
  if (count <= 0 || count > DIGEST_MAX_BYTES) return text;
  text.reserve(2 * count);
  for (int i = 0; i < count; ++i) {
    text += DIGITS[context->digest[i] >> 4];
    text += DIGITS[context->digest[i] & 0x0F];
  }
  return text;
}

bool IsFilePathText(const Text& path) {
  return !path.empty() && path.find(L'\0') == Text::npos;
}

Text ComputeFileDigestRange(const Text& path, int32_t id, int32_t bits, int64_t offset,
                            int64_t length) {
  const DigestPlugin* plugin = FindDigestPlugin(id);
  if (!plugin || !IsFilePathText(path)) return Text();

  DigestFile file;
  if (!file.Open(path).Opened()) return Text();
  ReadBuffer buffer;
  if (!buffer.bytes) return Text();
  PluginContext target{plugin, plugin->create(bits, 0)};
  if (!target.context) return Text();

  if (offset > 0) file.Seek(offset);
  if (!StreamFile(file, buffer.bytes, target, length)) return Text();
  plugin->finish(target.context);
  return DigestToHex(target.context);
}

Text ComputeFileDigest(const Text& path, int32_t id) {
  return ComputeFileDigestRange(path, id, 0, 0, TO_END_OF_FILE);
}

Text ComputeFileDigest(const Text& path, int32_t id, int32_t bits) {
  return ComputeFileDigestRange(path, id, bits, 0, TO_END_OF_FILE);
}

Text ComputeFileDigest(const Text& path, int32_t id, int32_t bits, int64_t offset) {
  return ComputeFileDigestRange(path, id, bits, offset, TO_END_OF_FILE);
}

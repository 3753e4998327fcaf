#include "digest/register_digest_plugins.h"

#include "digest/blake3/blake3.h"
#include "digest/crc32/crc32.h"
#include "digest/md5/md5.h"
#include "digest/sha1/sha1.h"
#include "digest/sha2/sha2.h"
#include "digest/sha3/sha3.h"
#include "digest/xxh3/xxh3.h"

void RegisterDigestPlugins() {
  RegisterCrc32Plugin();
  RegisterMd5Plugin();
  RegisterSha1Plugin();
  RegisterSha2Plugin();
  RegisterSha3Plugin();
  RegisterBlake3Plugin();
  RegisterXxh3Plugin();
}

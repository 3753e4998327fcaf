#pragma once
// MD5 of RFC 1321, registered under DIGEST_MD5.

int RegisterMd5Plugin();

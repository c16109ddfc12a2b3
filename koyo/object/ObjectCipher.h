// The cipher that encrypts and decrypts the strings and stream data of one
// indirect object. Encrypting and decrypting are the same operation; a cipher
// keeps its state between calls, so data crypted in blocks gives the same result
// as one call. The security handler of the document layer supplies the real one.
#pragma once
#include <cstdint>
#include <memory>

#include "koyo/object/ObjectKey.h"

namespace koyo {

class ObjectCipher {
public:
  virtual ~ObjectCipher() = default;
  // Sets up the state from the key and restarts the cipher.
  virtual void SetKey(const ObjectKey& key) = 0;
  // Crypts length bytes in place and returns length, or -1 when no key was set.
  virtual int64_t Crypt(uint8_t* buffer, int64_t length) = 0;
};

class ObjectCipherFactory {
public:
  virtual ~ObjectCipherFactory() = default;
  virtual std::unique_ptr<ObjectCipher> NewCipher() const = 0;
};

}  // namespace koyo

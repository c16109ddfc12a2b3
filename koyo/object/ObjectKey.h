// The key material of one indirect object of an encrypted document: five bytes of
// the document key, then the low three bytes of the object number and the low two
// bytes of the generation, least significant first. It also names the cipher
// factory that turns it into a cipher, so readers and writers need nothing else.
#pragma once
#include <cstdint>
#include <memory>

namespace koyo {

class ObjectCipher;
class ObjectCipherFactory;

struct ObjectKey {
  static constexpr int kDocumentKeySize = 5;
  static constexpr int kSize = 10;

  uint8_t bytes[kSize] = {};
  // Makes the ciphers of this key; null makes any use of the key fail.
  const ObjectCipherFactory* factory = nullptr;

  static ObjectKey Make(const uint8_t documentKey[kDocumentKeySize], int32_t objectNumber,
                        int32_t generation, const ObjectCipherFactory* factory);

  // A fresh cipher keyed with these bytes, or null when there is no factory.
  std::unique_ptr<ObjectCipher> NewCipher() const;
};

}  // namespace koyo

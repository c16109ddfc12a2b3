#include "koyo/object/ObjectKey.h"

#include <cstring>

#include "koyo/object/ObjectCipher.h"

namespace koyo {

ObjectKey ObjectKey::Make(const uint8_t documentKey[kDocumentKeySize], int32_t objectNumber,
                          int32_t generation, const ObjectCipherFactory* factory) {
  ObjectKey key;
  if (documentKey) std::memcpy(key.bytes, documentKey, kDocumentKeySize);
  uint32_t num = static_cast<uint32_t>(objectNumber);
  uint32_t gen = static_cast<uint32_t>(generation);
  key.bytes[5] = static_cast<uint8_t>(num & 0xFF);
  key.bytes[6] = static_cast<uint8_t>((num >> 8) & 0xFF);
  key.bytes[7] = static_cast<uint8_t>((num >> 16) & 0xFF);
  key.bytes[8] = static_cast<uint8_t>(gen & 0xFF);
  key.bytes[9] = static_cast<uint8_t>((gen >> 8) & 0xFF);
  key.factory = factory;
  return key;
}

std::unique_ptr<ObjectCipher> ObjectKey::NewCipher() const {
  if (!factory) return nullptr;
  std::unique_ptr<ObjectCipher> cipher = factory->NewCipher();
  if (cipher) cipher->SetKey(*this);
  return cipher;
}

}  // namespace koyo

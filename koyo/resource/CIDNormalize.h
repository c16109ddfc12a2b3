// Normalisation of Adobe-Japan1 CIDs between conversion steps: proportional
// and half-width Latin forms, and vertical forms back to their horizontal CIDs.
#pragma once
#include <cstddef>
#include <cstdint>

namespace koyo {

// CIDs 1-94 to 231-324, 95 to 631, vertical forms (7887-8101, 8264-8358) to
// their horizontal CIDs (0 where there is none); other CIDs unchanged.
uint16_t ToCIDHalfWidth(uint16_t cid);
// CIDs 231-324 to 1-94, 631 to 95, vertical forms as above; others unchanged.
uint16_t ToCIDProportional(uint16_t cid);
// The horizontal CID of a vertical form, 0 where there is none, or cid itself
// outside the vertical ranges.
uint16_t ToCIDHorizontal(uint16_t cid);

// In place over two-byte big-endian CIDs; an odd trailing byte stays as it is.
void ToCIDHalfWidth(unsigned char* cids, size_t length);
void ToCIDProportional(unsigned char* cids, size_t length);

}  // namespace koyo

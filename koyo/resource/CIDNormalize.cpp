#include "koyo/resource/CIDNormalize.h"

#include <algorithm>
#include <iterator>

namespace koyo {

namespace {

// first..last give target, target + 1, ...; a target of 0 means no horizontal
// form for the whole run.
struct VerticalRun {
  uint16_t first;
  uint16_t last;
  uint16_t target;
};

constexpr VerticalRun kVerticalRuns[] = {
    {7887, 7888, 634},   {7889, 7890, 649},   {7891, 7893, 660},   {7894, 7898, 665},
    {7899, 7916, 674},   {7917, 7917, 697},   {7918, 7918, 842},   {7919, 7919, 844},
    {7920, 7920, 846},   {7921, 7921, 848},   {7922, 7922, 850},   {7923, 7923, 876},
    {7924, 7924, 908},   {7925, 7925, 910},   {7926, 7926, 912},   {7927, 7927, 919},
    {7928, 7928, 925},   {7929, 7929, 927},   {7930, 7930, 929},   {7931, 7931, 931},
    {7932, 7932, 933},   {7933, 7933, 959},   {7934, 7934, 991},   {7935, 7935, 993},
    {7936, 7936, 995},   {7937, 7937, 1002},  {7938, 7939, 1009},  {7940, 7941, 7585},
    {7942, 7942, 8038},  {7943, 7943, 7588},  {7944, 7944, 8040},  {7945, 7945, 7590},
    {7946, 7946, 8042},  {7947, 7948, 7592},  {7949, 7949, 8044},  {7950, 7951, 7595},
    {7952, 7952, 8043},  {7953, 7954, 7598},  {7955, 7955, 8047},  {7956, 7957, 7608},
    {7958, 7958, 0},     {7959, 7959, 852},   {7960, 7960, 858},   {7961, 7961, 1142},
    {7962, 7962, 1205},  {7963, 7963, 1237},  {7964, 7964, 1243},  {7965, 7965, 1383},
    {7966, 7966, 1660},  {7967, 7967, 1666},  {7968, 7968, 1722},  {7969, 7969, 1875},
    {7970, 7970, 2191},  {7971, 7971, 2591},  {7972, 7972, 2718},  {7973, 7974, 2720},
    {7975, 7975, 2839},  {7976, 7976, 3147},  {7977, 7977, 3296},  {7978, 7978, 3412},
    {7979, 7979, 3619},  {7980, 7980, 3750},  {7981, 7981, 4036},  {7982, 7982, 4185},
    {7983, 7983, 4301},  {7984, 7984, 4411},  {7985, 7985, 4447},  {7986, 7986, 4502},
    {7987, 7987, 4541},  {7988, 7988, 4647},  {7989, 7990, 4746},  {7991, 7991, 4943},
    {7992, 7992, 5119},  {7993, 7993, 5376},  {7994, 7994, 5459},  {7995, 7995, 5491},
    {7996, 7996, 5932},  {7997, 7997, 6001},  {7998, 7998, 6198},  {7999, 7999, 6390},
    {8000, 8000, 6533},  {8001, 8002, 6561},  {8003, 8003, 7248},  {8004, 8004, 7429},
    {8005, 8007, 8005},  {8008, 8037, 0},     {8038, 8038, 8038},  {8039, 8039, 0},
    {8040, 8040, 8040},  {8041, 8041, 0},     {8042, 8044, 8042},  {8045, 8046, 0},
    {8047, 8047, 8047},  {8048, 8054, 0},     {8055, 8055, 8055},  {8056, 8091, 0},
    {8092, 8101, 8092},
    {8264, 8264, 852},   {8265, 8265, 858},   {8266, 8266, 1133},  {8267, 8267, 3056},
    {8268, 8268, 636},   {8269, 8269, 0},     {8270, 8270, 740},   {8271, 8273, 0},
    {8274, 8274, 637},   {8275, 8278, 670},   {8279, 8279, 672},   {8280, 8280, 0},
    {8281, 8281, 670},   {8282, 8283, 0},     {8284, 8285, 8284},  {8286, 8310, 0},
    {8311, 8311, 739},   {8312, 8312, 738},   {8313, 8316, 0},     {8317, 8317, 2887},
    {8318, 8318, 2454},  {8319, 8319, 0},     {8320, 8320, 1991},  {8321, 8322, 0},
    {8323, 8323, 8323},  {8324, 8328, 0},     {8329, 8329, 8038},  {8330, 8337, 0},
    {8338, 8338, 8042},  {8339, 8339, 8040},  {8340, 8343, 0},     {8344, 8344, 8044},
    {8345, 8347, 0},     {8348, 8348, 8043},  {8349, 8349, 8047},  {8350, 8358, 0},
};

template <uint16_t (*Convert)(uint16_t)>
void ConvertPairs(unsigned char* cids, size_t length) {
  for (size_t i = 0; i + 1 < length; i += 2) {
    uint16_t cid = Convert(static_cast<uint16_t>(cids[i] << 8 | cids[i + 1]));
    cids[i] = static_cast<unsigned char>(cid >> 8);
    cids[i + 1] = static_cast<unsigned char>(cid & 0xFF);
  }
}

}  // namespace

uint16_t ToCIDHorizontal(uint16_t cid) {
  const VerticalRun* end = std::end(kVerticalRuns);
  const VerticalRun* run = std::upper_bound(std::begin(kVerticalRuns), end, cid,
                                            [](uint16_t c, const VerticalRun& r) { return c < r.first; });
  if (run == std::begin(kVerticalRuns)) return cid;
  --run;
  if (cid > run->last) return cid;
  return run->target == 0 ? 0 : static_cast<uint16_t>(run->target + (cid - run->first));
}

uint16_t ToCIDHalfWidth(uint16_t cid) {
  if (cid >= 1 && cid <= 94) return static_cast<uint16_t>(cid + 230);
  if (cid == 95) return 631;
  return ToCIDHorizontal(cid);
}

uint16_t ToCIDProportional(uint16_t cid) {
  if (cid >= 231 && cid <= 324) return static_cast<uint16_t>(cid - 230);
  if (cid == 631) return 95;
  return ToCIDHorizontal(cid);
}

void ToCIDHalfWidth(unsigned char* cids, size_t length) {
  ConvertPairs<static_cast<uint16_t (*)(uint16_t)>(ToCIDHalfWidth)>(cids, length);
}

void ToCIDProportional(unsigned char* cids, size_t length) {
  ConvertPairs<static_cast<uint16_t (*)(uint16_t)>(ToCIDProportional)>(cids, length);
}

}  // namespace koyo

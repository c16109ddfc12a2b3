// Buffered input byte stream: the abstract base of file and memory input. Holds
// the buffer and the primitives the object reader is built on (Peek, Get, Unget,
// tokens, comments, line reading, pattern search).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace koyo {

class StreamLoad {
public:
  // Kind codes; the stream reader chooses lazy loading (file) or copying (memory).
  static constexpr int32_t kKindBase = -1;
  static constexpr int32_t kKindFile = 0;
  static constexpr int32_t kKindStr = 2;
  // Buffer size used when Open is given a size below 1.
  static constexpr int32_t kDefaultBufferSize = 4096;
  // Room of a token buffer, terminator included: a token has at most 255 bytes.
  static constexpr int32_t kTokenSize = 256;
  // Block size of Find.
  static constexpr int32_t kFindBlock = 4096;

  virtual ~StreamLoad();
  StreamLoad(const StreamLoad&) = delete;
  StreamLoad& operator=(const StreamLoad&) = delete;

  int32_t Kind() const { return kind_; }
  const char* KindName() const { return kindName_; }

  // Extraction: each sets the extraction count (GCount).
  // Reads one token into buf (kTokenSize bytes); false when none was read.
  bool ExtractToken(char* buf);
  // Skips whitespace and comments, then takes one byte; false at the end.
  bool ExtractByte(char& c);
  // Reads a token and converts it (locale-independent); false when no token.
  bool ExtractReal(double& value);
  bool ExtractInt(int32_t& value);
  // "true" gives true, "false" gives false, any other token leaves value as it was.
  bool ExtractBool(bool& value);
  // Calls a manipulator with this stream.
  StreamLoad& Apply(StreamLoad& (*manip)(StreamLoad&)) { return manip(*this); }

  // Releases the buffer and the source.
  virtual void Close();

  // Reads up to the next LF, CR or CR LF. Stores at most size - 1 bytes and a NUL;
  // the line end is stored unless dropEnd; with skipEmpty, line ends met before the
  // first stored byte are passed over. A line longer than the room stops when the
  // room is full, leaving the rest in the input. Returns the bytes stored.
  int32_t GetLine(char* buf, int32_t size, bool dropEnd, bool skipEmpty);
  // Takes what is buffered, then reads the rest straight from the source.
  int64_t ReadBlock(char* buf, int64_t n);
  // Buffered read of up to n bytes; returns the number read.
  int64_t Read(char* buf, int64_t n);
  int64_t GCount() const { return gcount_; }
  bool NeedsRefill() const { return pos_ >= count_; }
  // Replaces the buffer content with the next bytes of the source; false when the
  // source gave none.
  virtual bool Refill() = 0;
  // Position of the next byte (relative to the window or data start); -1 when
  // closed or on error.
  virtual int64_t Tell() const = 0;
  // Empties the buffer and moves the source; -1 for a position outside
  // 0..Size(), 0 on success.
  virtual int Seek(int64_t position) = 0;
  virtual int64_t Size() const = 0;
  virtual bool AtEnd() const = 0;
  virtual bool Error() const { return false; }
  virtual std::string ErrorText() const { return std::string(); }
  virtual void ClearError() {}

  // Next byte (0..255) without consuming it, or -1 at the end.
  int Peek() {
    if (pos_ < count_) return static_cast<unsigned char>(buffer_[pos_]);
    return PeekRefill();
  }
  // Next byte, consumed, or -1.
  int Get() {
    if (pos_ < count_) return static_cast<unsigned char>(buffer_[pos_++]);
    return GetRefill();
  }
  // Consumes one byte and peeks the following one.
  int Next();
  // Steps back n bytes, inside the buffer when it can, else by seeking.
  void Unget(int64_t n);
  // Consumes whitespace; returns the number of bytes skipped.
  int64_t SkipWhite();
  // Consumes whitespace and comments.
  void SkipWhiteAndComments();
  // When the next byte is %, consumes the comment up to (not including) the next
  // CR or LF and stores up to size - 1 bytes of it and a NUL in buf (when given).
  // Returns the bytes consumed, 0 when the next byte is not %.
  int64_t ReadComment(char* buf, int32_t size);
  // Reads one token (see the object syntax): returns buf, or null when no byte was
  // stored. At most size - 1 bytes are stored.
  char* GetToken(char* buf, int32_t size);
  // Position (as Tell counts) of the first occurrence of the pattern at or after
  // the current position, or -1. The stream position afterwards is unspecified.
  int64_t Find(const char* pattern, int32_t length);

protected:
  StreamLoad(int32_t kind, const char* kindName) : kind_(kind), kindName_(kindName) {}

  // Peek and Get once the buffer is used up.
  int PeekRefill();
  int GetRefill();
  // Allocates the buffer (kDefaultBufferSize for sizes below 1).
  bool AllocateBuffer(int32_t size);
  void ReleaseBuffer();
  void DropBuffer() { pos_ = count_ = 0; }
  // Bytes the source can still give directly, past what is buffered.
  virtual int64_t ReadSource(char* buf, int64_t n) = 0;

  int32_t kind_;
  const char* kindName_;
  int32_t bufferSize_ = 0;
  int32_t pos_ = 0;
  int32_t count_ = 0;
  int64_t gcount_ = 0;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace koyo

// Buffered output byte stream: the abstract base of file and memory output, with
// the writes the object writer uses (text, bytes, numbers, CR LF line ends).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace koyo {

class StreamSave {
public:
  static constexpr int32_t kKindBase = -1;
  static constexpr int32_t kKindFile = 0;
  static constexpr int32_t kKindStr = 2;
  static constexpr int32_t kDefaultBufferSize = 4096;
  // Formatted output goes through a buffer of this size first; longer text is
  // formatted again into room of its own size.
  static constexpr int32_t kFormatBufferSize = 256;

  virtual ~StreamSave();
  StreamSave(const StreamSave&) = delete;
  StreamSave& operator=(const StreamSave&) = delete;

  int32_t Kind() const { return kind_; }
  const char* KindName() const { return kindName_; }

  // A C string (null writes nothing).
  StreamSave& WriteString(const char* text);
  StreamSave& Put(char c);
  // The real format: six decimals, trailing zeros and point removed.
  StreamSave& WriteReal(double value);
  StreamSave& WriteInt(int64_t value);
  StreamSave& WriteBool(bool value);
  StreamSave& Apply(StreamSave& (*manip)(StreamSave&)) { return manip(*this); }
  // printf-style output. Numbers formatted this way follow the process locale:
  // the object writer formats numbers with WriteReal and WriteInt instead.
  StreamSave& Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  // Flushes, then releases the buffer and the destination.
  virtual void Close();
  // Unbuffered write of n bytes (pending bytes are flushed first).
  virtual int64_t WriteBlock(const char* data, int64_t n);
  // Buffered write of n bytes.
  StreamSave& Write(const char* data, int64_t n);
  // Hands the pending bytes to the destination; false on failure.
  virtual bool Flush();
  virtual int64_t Tell() = 0;
  virtual int Seek(int64_t position) = 0;
  virtual int64_t Size() = 0;
  virtual bool Error() const = 0;
  virtual std::string ErrorText() const = 0;
  virtual void ClearError() = 0;

protected:
  StreamSave(int32_t kind, const char* kindName) : kind_(kind), kindName_(kindName) {}

  // bufferSize 0 makes an unbuffered stream; below 0 the default size.
  bool AllocateBuffer(int32_t size);
  void ReleaseBuffer();
  // Writes bytes to the destination directly; returns the number written.
  virtual int64_t Emit(const char* data, int64_t n) = 0;

  int32_t kind_;
  const char* kindName_;
  int32_t bufferSize_ = 0;
  int32_t pending_ = 0;
  std::unique_ptr<char[]> buffer_;
};

// Line-end manipulator: CR LF.
StreamSave& EndLine(StreamSave& out);

}  // namespace koyo

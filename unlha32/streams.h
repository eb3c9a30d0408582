// Byte sources and sinks the codecs pull from and push to, and the MSB-first bit reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "unlha32/errors.h"

namespace unlha32 {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes; 0 only at the end. Throws Failure on a read error.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t size) = 0;
};

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Throws Failure when the bytes cannot all be written.
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const void* data, std::size_t size)
        : p_(static_cast<const std::uint8_t*>(data)), left_(size) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
        std::size_t n = size < left_ ? size : left_;
        std::memcpy(buffer, p_, n);
        p_ += n;
        left_ -= n;
        return n;
    }

  private:
    const std::uint8_t* p_;
    std::size_t left_;
};

class MemorySink : public ByteSink {
  public:
    void Write(const std::uint8_t* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
    }
    std::vector<std::uint8_t> bytes;
};

// Reads bits most significant first. Past the end of the source it supplies zero bits for a
// little while (a code may be peeked beyond the last byte) and then fails, so no decoder can
// spin on an exhausted stream.
class BitReader {
  public:
    explicit BitReader(ByteSource& source) : source_(source) {}

    std::uint32_t Peek16() {
        if (count_ < 16) Refill();
        return static_cast<std::uint32_t>(bits_ >> 48);
    }
    void Skip(int n) {
        bits_ <<= n;
        count_ -= n;
    }
    // n from 0 to 24.
    std::uint32_t Get(int n) {
        if (n == 0) return 0;
        if (count_ < n) Refill();
        std::uint32_t v = static_cast<std::uint32_t>(bits_ >> (64 - n));
        Skip(n);
        return v;
    }
    // Whole bytes taken from the source so far beyond those it really had.
    std::size_t overrun() const { return overrun_; }

  private:
    void Refill() {
        while (count_ <= 56) {
            if (p_ == end_) {
                if (!eof_) {
                    std::size_t n = source_.Read(buffer_, sizeof buffer_);
                    if (n > 0) {
                        p_ = buffer_;
                        end_ = buffer_ + n;
                        continue;
                    }
                    eof_ = true;
                }
                if (++overrun_ > 16) throw Failure(kDataBroken, "data ends early");
                count_ += 8;
                continue;
            }
            bits_ |= static_cast<std::uint64_t>(*p_++) << (56 - count_);
            count_ += 8;
        }
    }

    ByteSource& source_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::uint8_t buffer_[1 << 15];
    const std::uint8_t* p_ = buffer_;
    const std::uint8_t* end_ = buffer_;
    bool eof_ = false;
    std::size_t overrun_ = 0;
};

// Writes bits most significant first into a buffer that it hands to a sink in pieces. It counts
// what it has produced so that a caller can give up once compressing stops paying.
class BitWriter {
  public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) { buffer_.reserve(kFlushAt + 16); }

    // n from 0 to 32; v holds no bits above n.
    void Put(int n, std::uint32_t v) {
        bits_ = (bits_ << n) | v;
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            buffer_.push_back(static_cast<std::uint8_t>(bits_ >> count_));
        }
        if (buffer_.size() >= kFlushAt) FlushBuffer();
    }
    // Pads the last byte with zero bits and hands everything over.
    void Finish() {
        if (count_ > 0) Put(8 - count_, 0);
        FlushBuffer();
    }
    std::uint64_t bytesWritten() const { return written_ + buffer_.size(); }

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void FlushBuffer() {
        if (!buffer_.empty()) sink_.Write(buffer_.data(), buffer_.size());
        written_ += buffer_.size();
        buffer_.clear();
    }

    ByteSink& sink_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t written_ = 0;
};

}  // namespace unlha32

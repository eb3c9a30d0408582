// A growable byte stream in memory with a position, the way the components hold a file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmo::net {

class TMemoryStream {
  public:
    void Clear();
    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return position_; }
    // Clamped to the size.
    void SetPosition(std::size_t position);
    // Moves the position by delta (negative: back), clamped to the stream.
    void Seek(std::ptrdiff_t delta);

    // Bytes copied out from the position (0 at the end); the position moves past them.
    std::size_t Read(void* buffer, std::size_t size);
    // Writes at the position, growing the stream when needed; the position moves past them.
    std::size_t Write(const void* data, std::size_t size);

    // The whole content of a file ("\" CP932 path); false when it cannot be read.
    bool LoadFromFile(std::string_view path);
    bool SaveToFile(std::string_view path) const;

    std::string_view Bytes() const { return data_; }

  private:
    std::string data_;
    std::size_t position_ = 0;
};

}  // namespace velmo::net

// A growable byte stream in memory with a position.
#include "net/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/files.h"

namespace velmo::net {

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::SetPosition(std::size_t position) { position_ = std::min(position, Size()); }

void TMemoryStream::Seek(std::ptrdiff_t delta) {
    if (delta < 0 && static_cast<std::size_t>(-delta) > position_)
        position_ = 0;
    else
        SetPosition(position_ + delta);
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t size) {
    std::size_t n = std::min(size, Size() - position_);
    if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* data, std::size_t size) {
    if (size == 0) return 0;
    if (position_ == data_.size()) {
        data_.append(static_cast<const char*>(data), size);
    } else {
        if (position_ + size > data_.size()) data_.resize(position_ + size);
        std::memcpy(data_.data() + position_, data, size);
    }
    position_ += size;
    return size;
}

bool TMemoryStream::LoadFromFile(std::string_view path) {
    std::optional<std::string> bytes = platform::ReadWholeFile(path);
    if (!bytes) return false;
    data_ = std::move(*bytes);
    position_ = 0;
    return true;
}

bool TMemoryStream::SaveToFile(std::string_view path) const {
    return platform::WriteWholeFile(path, data_);
}

}  // namespace velmo::net

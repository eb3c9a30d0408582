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
    // Sized once from the file: a 200 MB transfer file grown by appending would be copied
    // over and over.
    platform::File file;
    if (!file.Open(path, platform::File::Mode::Read)) return false;
    std::string bytes(static_cast<std::size_t>(file.Size().value_or(0)), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        std::ptrdiff_t n = file.Read(bytes.data() + got, bytes.size() - got);
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    char more[65536];  // whatever was added since the file was measured
    for (;;) {
        std::ptrdiff_t n = file.Read(more, sizeof more);
        if (n < 0) return false;
        if (n == 0) break;
        bytes.append(more, static_cast<std::size_t>(n));
    }
    data_ = std::move(bytes);
    position_ = 0;
    return true;
}

bool TMemoryStream::SaveToFile(std::string_view path) const {
    return platform::WriteWholeFile(path, data_);
}

}  // namespace velmo::net

#include "tools/table/TableImage.h"

#include <algorithm>
#include <memory>
#include <new>

#include "platform/Platform.h"

namespace tabletool {

std::string TableImage::IdText(size_t i) const {
    return (IsBuiltin(i) ? "built-in " : "user ") + std::to_string(ListId(i));
}

size_t TableImage::BuiltinRecords() const {
    return std::min<size_t>(BuiltinCount, Records.size());
}

TableImage DecodeTableImage(const std::string& name, const std::vector<uint8_t>& bytes) {
    TableImage image;
    image.Name = name;
    image.Size = bytes.size();
    if (bytes.size() < kHeaderSize) {
        image.TrailingBytes = bytes.size();
        return image;
    }
    image.HasHeader = true;
    image.BuiltinCount = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    const size_t count = (bytes.size() - kHeaderSize) / fmt::kRecordSize;
    image.Records.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        image.Records.push_back(fmt::DecodeRecord(&bytes[kHeaderSize + i * fmt::kRecordSize]));
    }
    image.TrailingBytes = bytes.size() - kHeaderSize - count * fmt::kRecordSize;
    return image;
}

bool ReadTableImage(const std::string& path, TableImage& image) {
    const std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kLargestFileRead]);
    size_t size = 0;
    if (!buffer ||
        !platform::ReadFileInto(platform::HostPath(path), buffer.get(), kLargestFileRead, size)) {
        return false;
    }
    image = DecodeTableImage(path, std::vector<uint8_t>(buffer.get(), buffer.get() + size));
    return true;
}

}  // namespace tabletool

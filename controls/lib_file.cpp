// File copy with a progress display.
#include "controls/lib_file.h"

#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace velmo::controls {
namespace {

// The part after the last "\", "/" or ":", never taking a trail byte for a separator.
std::string FileNamePart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(path[i])) {
            ++i;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
    }
    return path.substr(start);
}

std::string Replace(std::string text, const std::string& value) {
    return text.replace(text.find("%s"), 2, value);
}

std::string KbLabel(std::int64_t copied, std::int64_t total) {
    return std::to_string(copied / 1024) + "KB / " + std::to_string(total / 1024) + "KB";
}

}  // namespace

std::int32_t CopyFileWithProgress(const std::string& source, const std::string& destination,
                                  CopyProgress* progress) {
    CopyProgress none;
    CopyProgress& view = progress ? *progress : none;
    struct CloseView {
        CopyProgress& view;
        ~CloseView() { view.Close(); }
    } closeView{view};
    view.Show();
    view.ProcessMessages();

    std::string target = platform::FullPath(destination);
    if (platform::FolderExists(target) && !platform::EndsWithBackslash(target)) target += "\\";
    target += FileNamePart(source);

    platform::File in;
    if (!in.Open(source, platform::File::Mode::Read))
        throw EFCant(Replace("ｺﾋﾟｰ元 ﾌｧｲﾙ %s は開けません", source));
    platform::File out;
    if (!out.Open(target, platform::File::Mode::Write))
        throw EFCant(Replace("ｺﾋﾟｰ先 ﾌｧｲﾙ %s は作成できません", target));

    // From here on the copy gets the source's time, however the loop ends.
    struct KeepTime {
        const std::string& source;
        const std::string& target;
        platform::File& out;
        ~KeepTime() {
            std::optional<platform::FileTime> time = platform::LastWriteTime(source);
            out.Close();
            if (time) platform::SetLastWriteTime(target, *time);
        }
    } keepTime{source, target, out};

    view.SetCaption(source);
    std::int64_t total = in.Size() ? static_cast<std::int64_t>(*in.Size()) : -1;
    if (total < 100) total = 100;
    view.SetMaximum(total);
    std::int64_t copied = 0;
    std::int64_t shown = 0;
    std::int32_t result = 0;
    std::vector<char> block(kCopyBlockSize);
    for (;;) {
        std::ptrdiff_t n = in.Read(block.data(), block.size());
        if (n < 0) n = 0;  // a read failure ends the file
        if (n > 0) {
            if (!out.Write(block.data(), static_cast<std::size_t>(n))) result = -1;
            copied += n;
            std::int64_t percent = copied / (total / 100);
            if (percent != shown) {
                shown = percent;
                view.Update(copied, KbLabel(copied, total));
                view.ProcessMessages();
            }
        }
        if (n < static_cast<std::ptrdiff_t>(kCopyBlockSize) || result != 0) break;
    }
    return result;
}

}  // namespace velmo::controls

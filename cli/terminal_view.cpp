// The headless front end's display.
#include "cli/terminal_view.h"

#include "platform/clock.h"
#include "platform/console.h"

namespace velmo::cli {

using platform::Stream;

std::atomic<bool> TerminalView::interrupted{false};

TerminalView::TerminalView() : terminal_(platform::IsTerminal(Stream::Out)) {}

void TerminalView::SetStepLine(std::string_view) {
    // The step line is logged by every step as it changes; printing it twice adds nothing.
}

void TerminalView::SetDetailLine(std::string_view text) {
    detail_ = text;
    if (!terminal_) return;  // a file or pipe gets the memo lines only
    // Counts arrive once per 1000-byte block: drawing each would cost more than the work.
    const std::int64_t now = platform::MonotonicMicroseconds();
    if (now - lastDraw_ < 100000 && !detail_.empty()) return;
    lastDraw_ = now;
    platform::WriteText(Stream::Out, "\r\x1b[K" + detail_);
    detailShown_ = !detail_.empty();
}

void TerminalView::ClearDetail() {
    if (detailShown_) platform::WriteText(Stream::Out, "\r\x1b[K");
    detailShown_ = false;
}

void TerminalView::AddLogLine(std::string_view text) {
    memo_.emplace_back(text);
    ClearDetail();
    platform::WriteText(Stream::Out, std::string(text) + "\n");
}

void TerminalView::ClearLog() { memo_.clear(); }

void TerminalView::ProcessMessages() {
    if (interrupted.exchange(false) && abortFlag_) *abortFlag_ = true;
}

void TerminalView::Beep() { platform::Bell(); }

void TerminalView::ShowWarning(std::string_view text) {
    ClearDetail();
    platform::WriteText(Stream::Err, std::string(text) + "\n");
}

void TerminalView::ShowInfo(std::string_view text) {
    ClearDetail();
    platform::WriteText(Stream::Out, std::string(text) + "\n");
}

}  // namespace velmo::cli

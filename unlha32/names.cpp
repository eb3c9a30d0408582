// CP932 path text helpers of the library.
#include "unlha32/names.h"

namespace unlha32 {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t CharLength(std::string_view s, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace

bool EndsWithSeparator(std::string_view path) {
    bool last = false;
    for (std::size_t i = 0; i < path.size();) {
        std::size_t n = CharLength(path, i);
        last = n == 1 && IsSeparator(path[i]);
        i += n;
    }
    return last;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !EndsWithSeparator(path)) path += '\\';
    path += name;
    return path;
}

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i < path.size();) {
        std::size_t n = CharLength(path, i);
        if (n == 1 && IsSeparator(path[i])) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.append(path.substr(i, n));
        }
        i += n;
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string WithBackslashes(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string LastPart(std::string_view path) {
    std::vector<std::string> parts = SplitPath(path);
    return parts.empty() ? std::string() : parts.back();
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t n = CharLength(out, i);
        if (n == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 32);
        i += n;
    }
    return out;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t n = CharLength(out, i);
        if (n == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] + 32);
        i += n;
    }
    return out;
}

bool MatchPattern(std::string_view pattern, std::string_view name) {
    // "*.*" means every name, with or without a dot, as on MS-DOS.
    if (pattern == "*.*" || pattern == "*") return true;
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            std::size_t pl = CharLength(pattern, p), nl = CharLength(name, n);
            bool same = pattern[p] == '?'
                            ? true
                            : pl == nl && (pl == 2 ? pattern.substr(p, 2) == name.substr(n, 2)
                                                   : FoldAscii(pattern[p]) == FoldAscii(name[n]));
            if (same) {
                p += pattern[p] == '?' ? 1 : pl;
                n += nl;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        starN += CharLength(name, starN);
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace unlha32

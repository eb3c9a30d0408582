// The archive commands: add (A, U, F, M), extract and test (E, X, T), list (L, V), delete (D).
#include "unlha32/archive.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "unlha32/codec.h"
#include "unlha32/crc16.h"
#include "unlha32/header.h"
#include "unlha32/names.h"
#include "unlha32/os.h"

namespace unlha32 {
namespace {

constexpr std::size_t kCopyBuffer = 1 << 16;

// Remembers the first failure while the command goes on with the other entries.
struct Outcome {
    Result result = kOk;
    int errors = 0;
    void Fail(Result r) {
        if (result == kOk) result = r;
        ++errors;
    }
};

std::string Number(std::uint64_t v) { return std::to_string(v); }

std::string Ratio(std::uint64_t packed, std::uint64_t original) {
    char text[32];
    if (original == 0) return "  0.0%";
    std::snprintf(text, sizeof text, "%5.1f%%",
                  static_cast<double>(packed) * 100.0 / static_cast<double>(original));
    return text;
}

std::string Stamp(std::int64_t t) {
    int y, mo, d, h, mi, s;
    os::LocalTime(t, y, mo, d, h, mi, s);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return text;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
    if (text.size() >= width) return text;
    return right ? std::string(width - text.size(), ' ') + text
                 : text + std::string(width - text.size(), ' ');
}

std::string ReasonText(Result r) {
    switch (r) {
        case kCrcError:
            return "CRCが一致しません";
        case kDataBroken:
            return "圧縮データが壊れています";
        case kUnsupportedMethod:
            return "対応していない圧縮方式です";
        case kReadError:
            return "ファイルを読み込めません";
        case kWriteError:
            return "ファイルに書き込めません";
        case kMakeFolderError:
            return "フォルダを作成できません";
        case kUnsafeName:
            return "展開先フォルダの外を指す名前です";
        case kTooLarge:
            return "4GB以上のファイルは扱えません";
        case kOutOfMemory:
            return "メモリが足りません";
        case kHeaderBroken:
            return "ヘッダが壊れています";
        case kHeaderCrc:
            return "ヘッダのCRCが一致しません";
        default:
            return "処理できません";
    }
}

// The name shown for an entry at the chosen detail.
std::string Shown(const std::string& path, int detail) {
    return detail == 0 ? LastPart(path) : path;
}

class FileRangeSource : public ByteSource {
  public:
    FileRangeSource(os::File& file, std::uint64_t offset, std::uint64_t size)
        : file_(file), left_(size) {
        if (!file_.Seek(offset)) throw Failure(kNotArchive, "cannot read the archive");
    }
    std::size_t Read(std::uint8_t* buffer, std::size_t size) override {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, left_));
        if (want == 0) return 0;
        std::ptrdiff_t n = file_.Read(buffer, want);
        if (n < 0) throw Failure(kNotArchive, "cannot read the archive");
        left_ -= static_cast<std::uint64_t>(n);
        return static_cast<std::size_t>(n);
    }

  private:
    os::File& file_;
    std::uint64_t left_;
};

class FileSink : public ByteSink {
  public:
    explicit FileSink(os::File& file) : file_(file) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        if (!file_.Write(data, size)) throw Failure(kWriteError, "write failed");
    }

  private:
    os::File& file_;
};

class NullSink : public ByteSink {
  public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

// The entries of an archive, read one header after the other.
struct Archive {
    os::File file;
    std::uint64_t size = 0;
    std::vector<Header> entries;
    Result broken = kOk;  // set when reading stopped at a bad header
};

Result OpenArchive(const std::string& path, Archive& a) {
    os::Info info = os::Stat(path);
    if (!info.exists || info.isFolder) return kArchiveNotFound;
    if (!a.file.Open(path, os::File::Mode::kRead)) return kNotArchive;
    a.size = a.file.Size().value_or(0);
    std::uint64_t offset = 0;
    try {
        Header h;
        while (ReadHeader(a.file, offset, a.size, h)) {
            if (h.dataOffset() + h.packedSize > a.size) {
                a.broken = kHeaderBroken;
                break;
            }
            offset = h.dataOffset() + h.packedSize;
            a.entries.push_back(h);
        }
    } catch (const Failure& f) {
        if (a.entries.empty())
            return f.code() == kHeaderBroken || f.code() == kHeaderCrc ? f.code() : kNotArchive;
        a.broken = f.code();
    }
    if (a.entries.empty() && a.size > 0 && a.broken == kOk) {
        // A lone end mark is an empty archive; anything else that gave no entry is not one.
        std::uint8_t first = 1;
        a.file.Seek(0);
        if (a.file.Read(&first, 1) != 1 || first != 0) return kNotArchive;
    }
    return kOk;
}

// Which entries the patterns select, by the name check switch.
bool Selected(const Request& r, const std::string& path) {
    if (r.patterns.empty()) return true;
    for (const std::string& raw : r.patterns) {
        std::string p = WithBackslashes(raw);
        if (p.empty() || p == "*.*" || p == "*") return true;
        bool hasFolder = SplitPath(p).size() > 1;
        if (r.nameCheck == 1 || hasFolder) {
            if (MatchPattern(p, path)) return true;
        } else if (MatchPattern(p, LastPart(path))) {
            return true;
        }
        if (r.nameCheck == 2) {
            std::vector<std::string> parts = SplitPath(path);
            std::string prefix;
            for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
                prefix = JoinPath(prefix, parts[i]);
                if (MatchPattern(p, prefix)) return true;
            }
        }
    }
    return false;
}

// An entry name that stays inside the base folder, or the reason it does not.
Result SafeParts(const Header& h, std::vector<std::string>& parts) {
    if (h.isSymbolicLink()) return kUnsafeName;
    if (h.path.empty() || h.path[0] == '\\' || h.path[0] == '/') return kUnsafeName;
    parts.clear();
    for (const std::string& part : SplitPath(h.path)) {
        if (part == ".") continue;
        if (part.find_first_not_of(". ") == std::string::npos)
            return kUnsafeName;  // "..", "...", ". ."
        for (std::size_t i = 0; i < part.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(part[i]);
            if (IsLeadByte(c) && i + 1 < part.size()) {
                ++i;
                continue;
            }
            if (c < 0x20 || c == ':') return kUnsafeName;  // drive letters, streams, control codes
        }
        if (os::IsDeviceName(part)) return kUnsafeName;
        parts.push_back(part);
    }
    return parts.empty() ? kUnsafeName : kOk;
}

std::string JoinParts(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) path = JoinPath(path, parts[i]);
    return path;
}

// Makes every folder from the base down to (not including) the last `skipLast` parts, refusing
// to go through a symbolic link that already stands there.
Result MakeFolders(const std::string& base, const std::vector<std::string>& parts,
                   std::size_t count) {
    for (std::size_t i = 1; i <= count; ++i) {
        std::string folder = JoinPath(base, JoinParts(parts, i));
        os::Info info = os::Stat(folder);
        if (info.isLink) return kUnsafeName;
        if (info.exists && !info.isFolder) return kMakeFolderError;
        if (!info.exists && !os::MakeFolder(folder)) return kMakeFolderError;
    }
    return kOk;
}

std::string FolderOf(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.size() <= 1)
        return path.size() && (path[0] == '\\' || path[0] == '/') ? std::string("\\")
                                                                  : std::string();
    parts.pop_back();
    std::string folder = (path[0] == '\\' || path[0] == '/') ? std::string("\\") : std::string();
    for (std::size_t i = 0; i < parts.size(); ++i) folder += (i ? "\\" : "") + parts[i];
    return folder;
}

// The base folder and every missing folder above it.
bool MakeBaseFolder(const std::string& base) {
    if (os::Stat(base).isFolder) return true;
    std::string prefix = (base[0] == '\\' || base[0] == '/') ? std::string("\\") : std::string();
    for (const std::string& part : SplitPath(base)) {
        prefix = prefix.empty() || prefix == "\\" ? prefix + part : JoinPath(prefix, part);
        if (part.back() == ':') continue;  // a drive letter
        if (!os::Stat(prefix).isFolder && !os::MakeFolder(prefix)) return false;
    }
    return os::Stat(base).isFolder;
}

Result DecodeEntry(Archive& a, const Header& h, ByteSink& out) {
    Method m = MethodFromId(h.method);
    if (m == Method::kUnknown) return kUnsupportedMethod;
    try {
        FileRangeSource source(a.file, h.dataOffset(), h.packedSize);
        std::uint16_t crc = Decode(m, source, h.originalSize, out);
        if (h.hasCrc && crc != h.crc) return kCrcError;
    } catch (const Failure& f) {
        return f.code();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

Result Extract(const Request& r, Report& report, bool test) {
    Archive a;
    Result open = OpenArchive(r.archive, a);
    if (open != kOk) {
        report.Line("書庫を開けません：" + r.archive);
        return open;
    }
    bool paths = r.withPaths || r.command == 'X';
    std::string base = r.baseFolder;
    Outcome outcome;
    if (!test && !base.empty() && !MakeBaseFolder(base)) {
        report.Line("フォルダを作成できません：" + base);
        return kMakeFolderError;
    }
    int done = 0;
    for (const Header& h : a.entries) {
        if (!Selected(r, h.path)) continue;
        std::string shown = Shown(h.path, r.logDetail);
        std::vector<std::string> parts;
        Result safe = SafeParts(h, parts);
        if (safe != kOk) {
            report.Line("拒否  " + h.path + "（" + ReasonText(safe) + "）");
            outcome.Fail(safe);
            continue;
        }
        if (test) {
            NullSink sink;
            Result res = h.isFolder() ? kOk : DecodeEntry(a, h, sink);
            if (res != kOk) {
                report.Line("エラー  " + shown + "（" + ReasonText(res) + "）");
                outcome.Fail(res);
            } else if (!h.isFolder()) {
                report.Line("検査  " + shown + "  OK");
                ++done;
            }
            continue;
        }
        if (h.isFolder()) {
            if (!paths) continue;
            Result res = MakeFolders(base, parts, parts.size());
            if (res != kOk) {
                report.Line("エラー  " + h.path + "（" + ReasonText(res) + "）");
                outcome.Fail(res);
            } else if (r.logDetail > 0) {
                report.Line("フォルダ  " + h.path);
            }
            continue;
        }
        if (!paths) parts.erase(parts.begin(), parts.end() - 1);
        Result res = MakeFolders(base, parts, parts.size() - 1);
        std::string target = JoinPath(base, JoinParts(parts, parts.size()));
        os::Info existing = os::Stat(target);
        if (res == kOk && (existing.isLink || existing.isFolder))
            res = existing.isLink ? kUnsafeName : kWriteError;
        if (res != kOk) {
            report.Line("エラー  " + shown + "（" + ReasonText(res) + "）");
            outcome.Fail(res);
            continue;
        }
        if (existing.exists) {
            bool newerThere = existing.mtime >= h.mtime;
            if (r.update == 0 || (r.update == 1 && r.checkTime && newerThere)) {
                report.Line("スキップ  " + shown + "（同じか新しいファイルがあります）");
                continue;
            }
            if (!r.overwrite) {
                report.Line("スキップ  " + shown + "（同じ名前のファイルがあります）");
                continue;
            }
        }
        // Written beside the target first, so a broken entry never destroys the file it would
        // replace.
        std::string temp = os::TemporaryName(FolderOf(target));
        os::File out;
        if (!out.Open(temp, os::File::Mode::kCreate)) {
            report.Line("エラー  " + shown + "（" + ReasonText(kWriteError) + "）");
            outcome.Fail(kWriteError);
            continue;
        }
        FileSink sink(out);
        res = DecodeEntry(a, h, sink);
        if (!out.Close() && res == kOk) res = kWriteError;
        if (res == kOk && existing.exists) os::RemoveFile(target);
        if (res == kOk && !os::RenameReplacing(temp, target)) res = kWriteError;
        if (res != kOk) {
            os::RemoveFile(temp);
            report.Line("エラー  " + shown + "（" + ReasonText(res) + "）");
            outcome.Fail(res);
            continue;
        }
        os::SetModificationTime(target, h.mtime);
        os::SetAttributes(target, h.attributes);
        ++done;
        if (r.logDetail == 2) {
            report.Line("展開  " + shown + "  " + Number(h.originalSize) + " バイト  " + h.method);
        } else {
            report.Line("展開  " + shown);
        }
    }
    if (a.broken != kOk) {
        report.Line("書庫の途中に壊れたヘッダがあります");
        outcome.Fail(a.broken);
    }
    report.Line(std::to_string(done) + " 個のファイルを" + (test ? "検査" : "展開") + "しました。" +
                (outcome.errors ? "（エラー " + std::to_string(outcome.errors) + " 個）" : ""));
    return outcome.result;
}

Result List(const Request& r, Report& report, bool verbose) {
    Archive a;
    Result open = OpenArchive(r.archive, a);
    if (open != kOk) {
        report.Line("書庫を開けません：" + r.archive);
        return open;
    }
    report.Line(std::string(" 元サイズ  圧縮サイズ  圧縮率  日付       時刻      方式  ") +
                (verbose ? "CRC   属性 " : "") + "名前");
    std::uint64_t original = 0, packed = 0;
    int count = 0;
    for (const Header& h : a.entries) {
        if (!Selected(r, h.path)) continue;
        char crc[16];
        std::snprintf(crc, sizeof crc, "%04X  %02X   ", h.crc, h.attributes);
        report.Line(Padded(Number(h.originalSize), 9, true) + "  " +
                    Padded(Number(h.packedSize), 9, true) + "  " +
                    Ratio(h.packedSize, h.originalSize) + "  " + Stamp(h.mtime) + "  " + h.method +
                    " " + (verbose ? std::string(crc) : std::string()) + h.path +
                    (h.isFolder() ? "\\" : ""));
        original += h.originalSize;
        packed += h.packedSize;
        ++count;
    }
    report.Line(std::to_string(count) + " 個のファイル  元サイズ " + Number(original) +
                "  圧縮サイズ " + Number(packed) + "  圧縮率 " + Ratio(packed, original));
    return a.broken;
}

// A new archive is written to a temporary file and put in place only when it is complete.
class ArchiveWriter {
  public:
    Result Begin(const Request& r) {
        std::string folder = r.workFolder.empty() ? FolderOf(r.archive) : r.workFolder;
        temp_ = os::TemporaryName(folder);
        if (!file_.Open(temp_, os::File::Mode::kCreate)) return kWriteError;
        return kOk;
    }

    os::File& file() { return file_; }
    std::uint64_t position() const { return position_; }

    void Write(const void* data, std::size_t size) {
        if (!file_.Write(data, size)) throw Failure(kWriteError, "write failed");
        position_ += size;
    }

    // Copies an entry of the old archive as it stands, header and data.
    void CopyEntry(Archive& from, const Header& h) {
        FileRangeSource source(from.file, h.headerOffset, h.headerSize + h.packedSize);
        std::vector<std::uint8_t> buffer(kCopyBuffer);
        std::uint64_t left = h.headerSize + h.packedSize;
        while (left > 0) {
            std::size_t n = source.Read(buffer.data(), buffer.size());
            if (n == 0) throw Failure(kHeaderBroken, "archive ends early");
            Write(buffer.data(), n);
            left -= n;
        }
    }

    // Compresses one file into a new entry; falls back to storing when compressing does not pay.
    Result AddFile(const std::string& source, Header h, Method method, Header& written) {
        os::File in;
        if (!in.Open(source, os::File::Mode::kRead)) return kReadError;
        std::uint64_t size = in.Size().value_or(0);
        if (size >= 0xFFFFF000ull) return kTooLarge;
        h.originalSize = size;
        h.method = MethodId(method);
        std::uint64_t headerAt = position_;
        std::vector<std::uint8_t> header = WriteHeader(h);
        Write(header.data(), header.size());
        std::uint64_t dataAt = position_;
        FileSink sink(file_);
        bool packed = false;
        std::uint16_t crc = 0;
        if (method != Method::kLh0 && size > 0) {
            FileRangeSource src(in, 0, size);
            packed = Encode(method, src, size, sink, size, crc);
        }
        if (!packed) {
            if (!file_.Seek(dataAt) || !file_.Truncate(dataAt))
                throw Failure(kWriteError, "seek failed");
            h.method = MethodId(Method::kLh0);
            FileRangeSource src(in, 0, size);
            std::vector<std::uint8_t> buffer(kCopyBuffer);
            std::uint64_t left = size;
            crc = 0;
            while (left > 0) {
                std::size_t n = src.Read(buffer.data(), buffer.size());
                if (n == 0) return kReadError;
                crc = Crc16(crc, buffer.data(), n);
                if (!file_.Write(buffer.data(), n)) throw Failure(kWriteError, "write failed");
                left -= n;
            }
        }
        std::uint64_t end = file_.Size().value_or(0);
        h.packedSize = end - dataAt;
        h.crc = crc;
        std::vector<std::uint8_t> final = WriteHeader(h);
        if (final.size() != header.size() || !file_.Seek(headerAt) ||
            !file_.Write(final.data(), final.size()) || !file_.Seek(end))
            throw Failure(kWriteError, "write failed");
        position_ = end;
        written = h;
        return kOk;
    }

    void AddFolder(Header h) {
        h.method = "-lhd-";
        h.packedSize = h.originalSize = 0;
        h.crc = 0;
        h.attributes = 0x10;
        std::vector<std::uint8_t> header = WriteHeader(h);
        Write(header.data(), header.size());
    }

    // Ends the archive and puts it in place of `archive`; with no entry the archive is removed.
    Result Commit(const std::string& archive, bool empty) {
        std::uint8_t endMark = 0;
        bool ok = true;
        try {
            Write(&endMark, 1);
        } catch (const Failure&) {
            ok = false;
        }
        ok = file_.Close() && ok;
        if (!ok) {
            os::RemoveFile(temp_);
            return kWriteError;
        }
        if (empty) {
            os::RemoveFile(temp_);
            os::RemoveFile(archive);
            return kOk;
        }
        if (os::RenameReplacing(temp_, archive)) return kOk;
        // Another file system: copy, then drop the temporary file.
        Result copied = CopyFile(temp_, archive);
        os::RemoveFile(temp_);
        return copied;
    }

    void Abandon() {
        file_.Close();
        os::RemoveFile(temp_);
    }

  private:
    static Result CopyFile(const std::string& from, const std::string& to) {
        os::File in, out;
        if (!in.Open(from, os::File::Mode::kRead)) return kWriteError;
        if (!out.Open(to, os::File::Mode::kCreate)) return kWriteError;
        std::vector<std::uint8_t> buffer(kCopyBuffer);
        for (;;) {
            std::ptrdiff_t n = in.Read(buffer.data(), buffer.size());
            if (n < 0) return kWriteError;
            if (n == 0) break;
            if (!out.Write(buffer.data(), static_cast<std::size_t>(n))) return kWriteError;
        }
        return out.Close() ? kOk : kWriteError;
    }

    os::File file_;
    std::string temp_;
    std::uint64_t position_ = 0;
};

struct Candidate {
    std::string source;  // path on disk
    std::string stored;  // name in the archive
    bool isFolder = false;
    os::Info info;
};

bool SameName(const std::string& a, const std::string& b) {
    return ToUpperAscii(a) == ToUpperAscii(b);
}

// Files under the base folder that the patterns select; folders too with -r2 and -x1.
void Collect(const Request& r, const std::string& base, const std::string& relFolder,
             const std::string& pattern, std::vector<Candidate>& out, Report& report,
             Outcome& outcome, int depth) {
    if (depth > 64) return;
    auto items = os::ListFolder(JoinPath(base, relFolder));
    if (!items) return;
    std::sort(items->begin(), items->end(),
              [](const os::FolderItem& a, const os::FolderItem& b) { return a.name < b.name; });
    for (const os::FolderItem& item : *items) {
        std::string rel = JoinPath(relFolder, item.name);
        std::string source = JoinPath(base, rel);
        if (!item.nameLossless) {
            report.Line("エラー  " + rel + "（Shift_JISで表せない名前です）");
            outcome.Fail(kReadError);
            continue;
        }
        os::Info info = os::Stat(source);
        if (info.isLink) continue;  // links are not followed: they could lead anywhere
        if (info.isHidden && !r.allAttributes) continue;
        if (info.isFolder) {
            if (r.recurse == 0) continue;
            if (r.recurse == 2 && r.withPaths) out.push_back({source, rel, true, info});
            Collect(r, base, rel, pattern, out, report, outcome, depth + 1);
            continue;
        }
        if (MatchPattern(pattern, item.name)) out.push_back({source, rel, false, info});
    }
}

Result Add(const Request& r, Report& report) {
    if (r.lh1Requested || r.method == Method::kLh1) {
        report.Line("lh1 形式での圧縮には対応していません");
        return kUnsupportedMethod;
    }
    Archive old;
    bool hadArchive = os::Stat(r.archive).exists;
    if (hadArchive) {
        Result open = OpenArchive(r.archive, old);
        if (open != kOk || old.broken != kOk) {
            report.Line("書庫を開けません：" + r.archive);
            return open != kOk ? open : old.broken;
        }
    }

    Outcome outcome;
    std::vector<Candidate> candidates;
    std::vector<std::string> patterns = r.patterns;
    if (patterns.empty()) patterns.push_back("*.*");
    std::string archiveFull = ToUpperAscii(WithBackslashes(r.archive));
    for (const std::string& raw : patterns) {
        std::string p = WithBackslashes(raw.empty() ? std::string("*.*") : raw);
        std::string folder = FolderOf(p), name = LastPart(p);
        if (name.empty()) name = "*.*";
        Collect(r, r.baseFolder, folder, name, candidates, report, outcome, 0);
    }
    // Names as they will be stored, each once; never the archive itself.
    std::vector<Candidate> chosen;
    std::set<std::string> seen;
    for (Candidate& c : candidates) {
        if (ToUpperAscii(WithBackslashes(c.source)) == archiveFull) continue;
        if (!r.withPaths) c.stored = LastPart(c.stored);
        if (r.nameCase == 1) c.stored = ToUpperAscii(c.stored);
        if (r.nameCase == 2) c.stored = ToLowerAscii(c.stored);
        if (!seen.insert(ToUpperAscii(c.stored)).second) continue;
        chosen.push_back(c);
    }

    // Decide, for each old entry, whether a file replaces it.
    std::vector<int> replacement(old.entries.size(), -1);
    std::vector<bool> used(chosen.size(), false);
    for (std::size_t i = 0; i < old.entries.size(); ++i) {
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            if (used[k] || !SameName(old.entries[i].path, chosen[k].stored)) continue;
            used[k] = true;
            bool newer = chosen[k].info.mtime > old.entries[i].mtime;
            bool replace = r.update == 2 || (r.update == 1 && (!r.checkTime || newer));
            if (replace) replacement[i] = static_cast<int>(k);
            break;
        }
    }
    bool addNew = r.command != 'F';
    bool anything = false;
    for (int k : replacement) anything = anything || k >= 0;
    for (std::size_t k = 0; k < chosen.size(); ++k) anything = anything || (addNew && !used[k]);
    if (!anything) {
        report.Line(chosen.empty() ? "対象ファイルがありません" : "更新するファイルはありません");
        if (chosen.empty() && outcome.result == kOk) return kNoMatch;
        return outcome.result;
    }

    ArchiveWriter writer;
    Result begun = writer.Begin(r);
    if (begun != kOk) {
        report.Line("書庫を作成できません：" + r.archive);
        return begun;
    }
    std::vector<std::string> addedSources;
    int added = 0, entries = 0;
    auto addOne = [&](const Candidate& c) {
        Header h;
        h.path = c.stored;
        h.mtime = c.info.mtime;
        h.attributes = c.info.attributes;
        if (c.isFolder) {
            writer.AddFolder(h);
            ++entries;
            if (r.logDetail > 0) report.Line("フォルダ  " + c.stored);
            return;
        }
        Header written;
        Result res = writer.AddFile(c.source, h, r.method, written);
        if (res != kOk) {
            report.Line("エラー  " + c.stored + "（" + ReasonText(res) + "）");
            outcome.Fail(res);
            return;
        }
        ++added;
        ++entries;
        addedSources.push_back(c.source);
        if (r.logDetail == 2) {
            report.Line("圧縮  " + c.stored + "  " + Number(written.originalSize) + " → " +
                        Number(written.packedSize) + " バイト " +
                        Ratio(written.packedSize, written.originalSize) + "  " + written.method);
        } else {
            report.Line("圧縮  " + Shown(c.stored, r.logDetail));
        }
    };
    try {
        for (std::size_t i = 0; i < old.entries.size(); ++i) {
            if (replacement[i] >= 0) {
                addOne(chosen[static_cast<std::size_t>(replacement[i])]);
            } else {
                writer.CopyEntry(old, old.entries[i]);
                ++entries;
            }
        }
        if (addNew)
            for (std::size_t k = 0; k < chosen.size(); ++k)
                if (!used[k]) addOne(chosen[k]);
    } catch (const Failure& f) {
        writer.Abandon();
        report.Line("書庫に書き込めません：" + r.archive);
        return f.code();
    } catch (const std::bad_alloc&) {
        writer.Abandon();
        return kOutOfMemory;
    }
    old.file.Close();  // Windows will not replace a file that is still open
    Result committed = writer.Commit(r.archive, entries == 0);
    if (committed != kOk) {
        report.Line("書庫に書き込めません：" + r.archive);
        return committed;
    }
    if (r.command == 'M' && outcome.result == kOk)
        for (const std::string& s : addedSources) os::RemoveFile(s);
    report.Line(std::to_string(added) + " 個のファイルを圧縮しました。" +
                (outcome.errors ? "（エラー " + std::to_string(outcome.errors) + " 個）" : ""));
    return outcome.result;
}

Result Delete(const Request& r, Report& report) {
    if (r.patterns.empty()) {
        report.Line("削除するファイルの指定がありません");
        return kBadCommandLine;
    }
    Archive a;
    Result open = OpenArchive(r.archive, a);
    if (open != kOk || a.broken != kOk) {
        report.Line("書庫を開けません：" + r.archive);
        return open != kOk ? open : a.broken;
    }
    ArchiveWriter writer;
    int removed = 0, kept = 0;
    std::vector<bool> drop(a.entries.size());
    for (std::size_t i = 0; i < a.entries.size(); ++i) drop[i] = Selected(r, a.entries[i].path);
    for (bool d : drop) removed += d;
    if (removed == 0) {
        report.Line("該当するファイルがありません");
        return kNoMatch;
    }
    if (writer.Begin(r) != kOk) return kWriteError;
    try {
        for (std::size_t i = 0; i < a.entries.size(); ++i) {
            if (drop[i]) {
                report.Line("削除  " + Shown(a.entries[i].path, r.logDetail));
            } else {
                writer.CopyEntry(a, a.entries[i]);
                ++kept;
            }
        }
    } catch (const Failure& f) {
        writer.Abandon();
        return f.code();
    }
    a.file.Close();
    Result committed = writer.Commit(r.archive, kept == 0);
    if (committed != kOk) return committed;
    report.Line(std::to_string(removed) + " 個のファイルを削除しました。");
    return kOk;
}

}  // namespace

void Report::CopyTo(char* buffer, unsigned long size) const {
    if (!buffer || size == 0) return;
    std::size_t n = std::min<std::size_t>(text_.size(), size - 1);
    if (n < text_.size()) {
        // Step back to a character boundary.
        std::size_t i = 0, boundary = 0;
        while (i < n) {
            boundary = i;
            i += IsLeadByte(static_cast<unsigned char>(text_[i])) ? 2 : 1;
        }
        if (i > n) n = boundary;
    }
    std::copy(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    buffer[n] = '\0';
}

Result Run(const Request& r, Report& report) {
    try {
        switch (r.command) {
            case 'A':
            case 'U':
            case 'F':
            case 'M':
                return Add(r, report);
            case 'E':
            case 'X':
                return Extract(r, report, false);
            case 'T':
                return Extract(r, report, true);
            case 'L':
                return List(r, report, false);
            case 'V':
                return List(r, report, true);
            case 'D':
                return Delete(r, report);
            default:
                report.Line(std::string("このコマンドには対応していません：") + r.command);
                return kUnsupportedCommand;
        }
    } catch (const Failure& f) {
        report.Line(f.what());
        return f.code();
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

bool CheckArchive(const std::string& path, bool full) {
    Archive a;
    if (OpenArchive(path, a) != kOk || a.broken != kOk) return false;
    if (!full) return true;
    for (const Header& h : a.entries) {
        NullSink sink;
        if (!h.isFolder() && DecodeEntry(a, h, sink) != kOk) return false;
    }
    return true;
}

int CountEntries(const std::string& path) {
    Archive a;
    if (OpenArchive(path, a) != kOk) return -1;
    return static_cast<int>(a.entries.size());
}

}  // namespace unlha32

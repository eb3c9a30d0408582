// The command line interpreter: "<command> [-switches] archive [base-folder\] [patterns]".
#include "unlha32/command.h"

#include <cctype>

#include "unlha32/errors.h"
#include "unlha32/names.h"

namespace unlha32 {
namespace {

[[noreturn]] void Bad(const std::string& why) { throw Failure(kBadCommandLine, why); }

// Blank-separated words; double quotes group blanks and may stand anywhere in a word, so
// «"-wC:\tmp\"» is a switch and «""» an empty word. Neither byte is ever a CP932 trail byte.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t' || c == '\r' || c == '\n') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) Bad("unbalanced quotes");
    if (inWord) words.push_back(word);
    return words;
}

// A switch digit; a switch given without one means 1.
int Digit(const std::string& s, std::size_t& i, int highest) {
    if (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        int d = s[i++] - '0';
        if (d > highest) Bad("switch value out of range");
        return d;
    }
    return 1;
}

void ParseSwitch(const std::string& s, Request& r) {
    std::size_t i = 1;
    while (i < s.size()) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])));
        switch (c) {
            case '+':
                break;  // no stored defaults exist to be ignored
            case 'a':
                r.allAttributes = Digit(s, i, 2) != 0;
                break;
            case 'c':
                r.checkTime = Digit(s, i, 1) == 0;
                break;
            case 'e':
                Digit(s, i, 1);
                break;  // memory saving: the encoder's needs are small already
            case 'f':
                Digit(s, i, 1);
                break;  // disk space: a full disk shows as a write error
            case 'i':
                r.nameCase = Digit(s, i, 2);
                break;
            case 'l':
                r.logDetail = Digit(s, i, 2);
                break;
            case 'n':
                Digit(s, i, 9);
                break;  // dialogs: this library never shows one
            case 's':
                Digit(s, i, 9);
                break;
            case 'p':
                r.nameCheck = Digit(s, i, 2);
                break;
            case 'r':
                r.recurse = Digit(s, i, 2);
                break;
            case 'u':
                r.update = Digit(s, i, 2);
                break;
            case 'x':
                r.withPaths = Digit(s, i, 1) != 0;
                break;
            case 'w':
                r.workFolder = s.substr(i);
                i = s.size();
                break;
            case 'g': {
                char g = i < s.size()
                             ? static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])))
                             : 0;
                if (g != 'm' && g != 'n' && g != 'w') Bad("unknown switch " + s);
                Digit(s, i, 9);  // message boxes, progress windows, self-extracting options
                break;
            }
            case 'j': {
                char j = i < s.size()
                             ? static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])))
                             : 0;
                if (j == 'm') {
                    int m = Digit(s, i, 4);
                    static const Method kMethods[] = {Method::kLh0, Method::kLh1, Method::kLh5,
                                                      Method::kLh6, Method::kLh7};
                    r.method = kMethods[m];
                    r.lh1Requested = m == 1;
                } else if (j == 'y') {
                    // Answers given in advance; no question is ever asked, only 'o' changes what
                    // happens.
                    for (; i < s.size(); ++i) {
                        char y = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i])));
                        if (y == 'o')
                            r.overwrite = true;
                        else if (y != 'c' && y != 'd' && y != 'k' && y != 'n')
                            Bad("unknown switch " + s);
                    }
                } else if (j == 'f' || j == 'i' || j == 'w') {
                    // Roots are never stored and never restored; short names and self-extracting
                    // archives have no part in what this library writes.
                    Digit(s, i, 9);
                } else {
                    Bad("unknown switch " + s);
                }
                break;
            }
            default:
                Bad("unknown switch " + s);
        }
    }
}

}  // namespace

Request ParseCommandLine(const std::string& line) {
    std::vector<std::string> words = Words(line);
    if (words.empty()) Bad("empty command line");
    Request r;
    if (words[0].size() != 1) Bad("unknown command " + words[0]);
    r.command = static_cast<char>(std::toupper(static_cast<unsigned char>(words[0][0])));
    static const std::string kCommands = "ACDEFLMNPSTUVX";
    if (kCommands.find(r.command) == std::string::npos) Bad("unknown command " + words[0]);

    bool switches = true, haveArchive = false;
    for (std::size_t k = 1; k < words.size(); ++k) {
        const std::string& w = words[k];
        if (switches && w == "--") {
            switches = false;
        } else if (switches && w.size() > 1 && w[0] == '-') {
            ParseSwitch(w, r);
        } else if (!haveArchive) {
            if (w.empty()) Bad("no archive name");
            r.archive = w;
            haveArchive = true;
        } else if (r.baseFolder.empty() && r.patterns.empty() && EndsWithSeparator(w)) {
            r.baseFolder = w;
        } else {
            r.patterns.push_back(w);
        }
    }
    if (!haveArchive) Bad("no archive name");
    return r;
}

}  // namespace unlha32

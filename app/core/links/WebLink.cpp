// SPDX-License-Identifier: GPL-3.0-or-later
// Reads web links step by step as browsers do, so the host a rule judges is the host that loads.
#include "WebLink.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Tolvane {
namespace {

// Past the last Unicode code point: a raw byte that arrived as a lone surrogate U+DC80..U+DCFF.
constexpr char32_t rawByte = 0x110000;
constexpr char32_t replacement = 0xFFFD;

using CodePoints = std::u32string;

// What a percent-encode set adds to the C0 controls (and to everything past `~`, always encoded).
enum class Set { fragment, specialQuery, path, userinfo };

bool encodes(Set set, char32_t c) {
    if (c < 0x20 || c >= 0x7F)
        return true;
    switch (c) {
    case ' ':
    case '"':
    case '<':
    case '>':
        return true;
    case '`':
        return set != Set::specialQuery;
    case '#':
    case '\'':
        return set == Set::specialQuery || (c == '#' && set != Set::fragment);
    case '?':
    case '{':
    case '}':
        return set == Set::path || set == Set::userinfo;
    case '/':
    case ':':
    case ';':
    case '=':
    case '@':
    case '[':
    case '\\':
    case ']':
    case '^':
    case '|':
        return set == Set::userinfo;
    default:
        return false;
    }
}

void appendByte(std::string& out, unsigned char byte) {
    static constexpr char hex[] = "0123456789ABCDEF";
    out += '%';
    out += hex[byte >> 4];
    out += hex[byte & 15];
}

// The bytes a browser sends for `c`: UTF-8, or the raw byte it stood for.
void appendUtf8(std::string& out, char32_t c) {
    if (c >= rawByte)
        out += char(c - rawByte);
    else if (c < 0x80)
        out += char(c);
    else if (c < 0x800)
        out += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
        out += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    else
        out += {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)), char(0x80 | ((c >> 6) & 0x3F)),
                char(0x80 | (c & 0x3F))};
}

void appendEncoded(std::string& out, char32_t c, Set set) {
    if (c < 0x80 && !encodes(set, c)) {
        out += char(c);
        return;
    }
    std::string bytes;
    appendUtf8(bytes, c);
    for (char byte : bytes)
        appendByte(out, static_cast<unsigned char>(byte));
}

bool isAsciiDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool isAsciiAlpha(char32_t c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

int hexValue(char32_t c) {
    if (isAsciiDigit(c))
        return int(c - '0');
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        return int((c | 0x20) - 'a' + 10);
    return -1;
}

bool isSlash(char32_t c) {
    return c == '/' || c == '\\';
}

// The text as code points, without the outer C0 controls and spaces and without any tab or newline.
CodePoints codePoints(QStringView text) {
    CodePoints out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            out += QChar::surrogateToUcs4(u, text[++i].unicode());
        else if (u >= 0xDC80 && u <= 0xDCFF)
            out += rawByte + (u - 0xDC00);
        else if (QChar::isSurrogate(u))
            out += replacement;
        else if (u != '\t' && u != '\n' && u != '\r')
            out += u;
    }
    const auto outer = [](char32_t c) { return c <= 0x20; };
    size_t begin = 0, end = out.size();
    while (begin < end && outer(out[begin]))
        ++begin;
    while (end > begin && outer(out[end - 1]))
        --end;
    out.erase(end);
    out.erase(0, begin);
    return out;
}

// A number part of an IPv4 address in decimal, octal (leading 0) or hex (0x); none when it is not.
// Values past 32 bits are capped: they fail the range checks all the same.
std::optional<uint64_t> ipv4Number(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int radix = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] | 0x20) == 'x') {
        text.remove_prefix(2);
        radix = 16;
    } else if (text.size() >= 2 && text[0] == '0') {
        text.remove_prefix(1);
        radix = 8;
    }
    uint64_t value = 0;
    for (char c : text) {
        const int digit = hexValue(char32_t(c));
        if (digit < 0 || digit >= radix)
            return std::nullopt;
        value = std::min<uint64_t>(value * radix + digit, uint64_t(1) << 40);
    }
    return value;
}

std::vector<std::string_view> splitDots(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t dot; (dot = text.find('.', start)) != std::string_view::npos; start = dot + 1)
        parts.push_back(text.substr(start, dot - start));
    parts.push_back(text.substr(start));
    return parts;
}

// A host whose last label is a number is an IPv4 address or nothing: "example.0x1" loads nowhere.
bool endsInNumber(std::string_view domain) {
    if (domain.empty())
        return false;
    if (domain.back() == '.')
        domain.remove_suffix(1);
    const std::string_view last = domain.substr(domain.rfind('.') + 1);
    if (!last.empty() && std::all_of(last.begin(), last.end(), [](char c) { return isAsciiDigit(c); }))
        return true;
    return ipv4Number(last).has_value();
}

std::optional<std::string> ipv4(std::string_view domain) {
    std::vector<std::string_view> parts = splitDots(domain);
    if (parts.back().empty() && parts.size() > 1)
        parts.pop_back();
    if (parts.size() > 4)
        return std::nullopt;
    std::vector<uint64_t> numbers;
    for (std::string_view part : parts) {
        const auto number = ipv4Number(part);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
    }
    for (size_t i = 0; i + 1 < numbers.size(); ++i)
        if (numbers[i] > 255)
            return std::nullopt;
    if (numbers.back() >= uint64_t(1) << (8 * (5 - numbers.size())))
        return std::nullopt;
    uint64_t address = numbers.back();
    for (size_t i = 0; i + 1 < numbers.size(); ++i)
        address += numbers[i] << (8 * (3 - i));
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 255) + '.' +
           std::to_string((address >> 8) & 255) + '.' + std::to_string(address & 255);
}

std::optional<std::string> ipv6(std::u32string_view in) {
    std::array<uint16_t, 8> address{};
    size_t piece = 0, p = 0;
    std::optional<size_t> compress;
    const auto at = [&](size_t i) { return i < in.size() ? in[i] : char32_t(0xFFFFFFFF); };
    const auto atEnd = [&] { return p >= in.size(); };
    if (at(p) == ':') {
        if (at(p + 1) != ':')
            return std::nullopt;
        p += 2;
        compress = ++piece;
    }
    while (!atEnd()) {
        if (piece == 8)
            return std::nullopt;
        if (at(p) == ':') {
            if (compress)
                return std::nullopt;
            ++p;
            compress = ++piece;
            continue;
        }
        unsigned value = 0, length = 0;
        while (length < 4 && hexValue(at(p)) >= 0) {
            value = value * 16 + unsigned(hexValue(at(p)));
            ++p;
            ++length;
        }
        if (at(p) == '.') {
            // An IPv4 address in the last two pieces.
            if (length == 0 || piece > 6)
                return std::nullopt;
            p -= length;
            int numbersSeen = 0;
            while (!atEnd()) {
                if (numbersSeen > 0) {
                    if (at(p) != '.' || numbersSeen >= 4)
                        return std::nullopt;
                    ++p;
                }
                if (!isAsciiDigit(at(p)))
                    return std::nullopt;
                int number = -1;
                while (isAsciiDigit(at(p))) {
                    if (number == 0)
                        return std::nullopt;
                    number = (number < 0 ? 0 : number * 10) + int(at(p) - '0');
                    if (number > 255)
                        return std::nullopt;
                    ++p;
                }
                address[piece] = uint16_t(address[piece] * 0x100 + number);
                if (++numbersSeen == 2 || numbersSeen == 4)
                    ++piece;
            }
            if (numbersSeen != 4)
                return std::nullopt;
            break;
        }
        if (at(p) == ':') {
            if (++p >= in.size())
                return std::nullopt;
        } else if (!atEnd()) {
            return std::nullopt;
        }
        address[piece++] = uint16_t(value);
    }
    if (compress) {
        size_t swaps = piece - *compress;
        for (piece = 7; piece != 0 && swaps > 0; --piece, --swaps)
            std::swap(address[piece], address[*compress + swaps - 1]);
    } else if (piece != 8) {
        return std::nullopt;
    }

    // The first longest run of two or more zero pieces becomes "::".
    size_t runStart = 8, runLength = 1;
    for (size_t i = 0; i < 8;) {
        size_t j = i;
        while (j < 8 && address[j] == 0)
            ++j;
        if (j - i > runLength) {
            runStart = i;
            runLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    std::string out = "[";
    for (size_t i = 0; i < 8; ++i) {
        if (i == runStart) {
            out += i == 0 ? "::" : ":";
            i += runLength - 1;
            continue;
        }
        static constexpr char hex[] = "0123456789abcdef";
        std::string digits;
        for (unsigned v = address[i]; digits.empty() || v; v >>= 4)
            digits.insert(digits.begin(), hex[v & 15]);
        out += digits;
        if (i != 7)
            out += ':';
    }
    return out + ']';
}

bool isForbiddenInDomain(char c) {
    switch (c) {
    case '#':
    case '%':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '@':
    case '[':
    case '\\':
    case ']':
    case '^':
    case '|':
    case 0x7F:
        return true;
    default:
        return static_cast<unsigned char>(c) <= 0x20;
    }
}

// RFC 3492 decoding of the part after "xn--", to check a label that arrives already encoded.
std::optional<std::u32string> punycodeDecode(std::string_view input) {
    constexpr uint32_t base = 36, tMin = 1, tMax = 26, skew = 38, damp = 700;
    std::u32string out;
    const size_t delimiter = input.rfind('-');
    if (delimiter != std::string_view::npos) {
        for (char c : input.substr(0, delimiter))
            out += char32_t(static_cast<unsigned char>(c));
        input.remove_prefix(delimiter + 1);
    }
    uint32_t n = 0x80, i = 0, bias = 72;
    for (size_t p = 0; p < input.size();) {
        const uint32_t oldI = i;
        for (uint32_t w = 1, k = base;; k += base) {
            if (p >= input.size())
                return std::nullopt;
            const char c = char(input[p++] | 0x20);
            const uint32_t digit = c >= 'a' && c <= 'z'   ? uint32_t(c - 'a')
                                   : c >= '0' && c <= '9' ? uint32_t(c - '0' + 26)
                                                          : base;
            if (digit >= base || digit > (0x7FFFFFFF - i) / w)
                return std::nullopt;
            i += digit * w;
            const uint32_t t = k <= bias ? tMin : k >= bias + tMax ? tMax : k - bias;
            if (digit < t)
                break;
            if (w > 0x7FFFFFFF / (base - t))
                return std::nullopt;
            w *= base - t;
        }
        const uint32_t length = uint32_t(out.size()) + 1;
        uint32_t delta = oldI == 0 ? (i - oldI) / damp : (i - oldI) / 2;
        delta += delta / length;
        uint32_t k = 0;
        for (; delta > ((base - tMin) * tMax) / 2; k += base)
            delta /= base - tMin;
        bias = k + (base - tMin + 1) * delta / (delta + skew);
        if (i / length > 0x10FFFF - n)
            return std::nullopt;
        n += i / length;
        i %= length;
        if (n > 0x10FFFF || (n >= 0xD800 && n <= 0xDFFF))
            return std::nullopt;
        out.insert(out.begin() + i, char32_t(n));
        ++i;
    }
    return out;
}

// An "xn--" label must be one that encoding its own Unicode form gives back.
bool isValidAceLabel(std::string_view label) {
    const auto decoded = punycodeDecode(label.substr(4));
    if (!decoded || decoded->empty())
        return false;
    const QString unicode = QString::fromUcs4(decoded->data(), qsizetype(decoded->size()));
    return QUrl::toAce(unicode) == QByteArray(label.data(), qsizetype(label.size()));
}

// Joiners may only follow a virama; elsewhere they hide a different name behind the same look.
bool hasLooseJoiner(const QString& domain) {
    for (qsizetype i = 0; i < domain.size(); ++i) {
        const char16_t c = domain[i].unicode();
        if ((c == 0x200C || c == 0x200D) && (i == 0 || domain[i - 1].combiningClass() != 9))
            return true;
    }
    return false;
}

bool startsWithAce(std::string_view label) {
    return label.size() >= 4 && (label[0] | 0x20) == 'x' && (label[1] | 0x20) == 'n' && label[2] == '-' &&
           label[3] == '-';
}

// Labels that arrive in ACE form must be what their own Unicode form encodes to.
std::optional<std::string> checkedAce(std::string ascii) {
    if (ascii.empty())
        return std::nullopt;
    if (ascii.find("xn--") != std::string::npos) {
        for (std::string_view label : splitDots(ascii))
            if (startsWithAce(label) && !isValidAceLabel(label))
                return std::nullopt;
    }
    return ascii;
}

// The domain in ASCII as browsers look it up: lower case, internationalized labels in ACE form.
std::optional<std::string> domainToAscii(const QString& domain) {
    std::string ascii;
    bool isAscii = true;
    for (QChar c : domain)
        isAscii = isAscii && c.unicode() < 0x80;
    if (isAscii) {
        ascii = domain.toLatin1().toLower().toStdString();
    } else {
        if (hasLooseJoiner(domain))
            return std::nullopt;
        QByteArray ace = QUrl::toAce(domain);
        if (ace.isEmpty()) {
            // Qt refuses the whole name for one empty or unusual ASCII label; take the labels one by one.
            static const QRegularExpression dots(QStringLiteral("[.\u3002\uFF0E\uFF61]"));
            const QStringList labels = domain.split(dots);
            for (qsizetype i = 0; i < labels.size(); ++i) {
                const bool plain = std::all_of(labels[i].begin(), labels[i].end(),
                                               [](QChar c) { return c.unicode() < 0x80; });
                const QByteArray label = plain ? labels[i].toLatin1().toLower() : QUrl::toAce(labels[i]);
                if (label.isEmpty() && !labels[i].isEmpty())
                    return std::nullopt;
                ace += (i ? "." : "") + label;
            }
        }
        ascii = ace.toStdString();
        // Labels Qt encoded itself are sound; only ones typed in ACE form need the check.
        if (!domain.contains(QLatin1String("xn--"), Qt::CaseInsensitive))
            return ascii.empty() ? std::nullopt : std::optional(std::move(ascii));
    }
    return checkedAce(std::move(ascii));
}

// A host with escapes or beyond ASCII: its bytes decoded, then the name in ACE form.
std::optional<std::string> unicodeDomainToAscii(std::u32string_view in) {
    std::string bytes;
    for (char32_t c : in)
        appendUtf8(bytes, c);
    QByteArray decoded;
    decoded.reserve(qsizetype(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool escape = bytes[i] == '%' && i + 2 < bytes.size() &&
                            hexValue(static_cast<unsigned char>(bytes[i + 1])) >= 0 &&
                            hexValue(static_cast<unsigned char>(bytes[i + 2])) >= 0;
        if (escape) {
            decoded += char(hexValue(static_cast<unsigned char>(bytes[i + 1])) * 16 +
                            hexValue(static_cast<unsigned char>(bytes[i + 2])));
            i += 2;
        } else {
            decoded += bytes[i];
        }
    }
    const QString domain = QString::fromUtf8(decoded);
    // Bytes that are not UTF-8 make no name; U+FFFD is not allowed in one either.
    if (domain.contains(QChar(replacement)))
        return std::nullopt;
    return domainToAscii(domain);
}

struct Host {
    std::string text;
    bool isIp = false;
};

std::optional<Host> parseHost(std::u32string_view in) {
    if (in.front() == '[') {
        if (in.back() != ']')
            return std::nullopt;
        const auto address = ipv6(in.substr(1, in.size() - 2));
        if (!address)
            return std::nullopt;
        return Host{*address, true};
    }
    std::optional<std::string> ascii;
    if (std::all_of(in.begin(), in.end(), [](char32_t c) { return c < 0x80 && c != '%'; })) {
        // Plain ASCII, the usual name, needs no trip through Unicode.
        std::string lower(in.size(), '\0');
        std::transform(in.begin(), in.end(), lower.begin(),
                       [](char32_t c) { return char(isAsciiAlpha(c) ? c | 0x20 : c); });
        ascii = checkedAce(std::move(lower));
    } else {
        ascii = unicodeDomainToAscii(in);
    }
    if (!ascii || std::any_of(ascii->begin(), ascii->end(), isForbiddenInDomain))
        return std::nullopt;
    if (endsInNumber(*ascii)) {
        auto address = ipv4(*ascii);
        if (!address)
            return std::nullopt;
        return Host{std::move(*address), true};
    }
    return Host{std::move(*ascii), false};
}

bool isDot(std::string_view s) {
    return s == "." || (s.size() == 3 && s[0] == '%' && s[1] == '2' && (s[2] | 0x20) == 'e');
}

bool isDotDot(std::string_view s) {
    for (size_t split : {size_t(1), size_t(3)})
        if (s.size() > split && isDot(s.substr(0, split)) && isDot(s.substr(split)))
            return true;
    return false;
}

// The path from `p` up to "?", "#" or the end, where `p` is left: "\\" is "/", and "." and ".."
// segments (also spelled "%2e") are resolved as the browser does. Each segment is encoded onto the
// path in place, then dropped again if it is a dot.
std::string readPathAt(const CodePoints& in, size_t& p) {
    const size_t n = in.size();
    if (p < n && isSlash(in[p]))
        ++p;
    std::string path = "/";
    path.reserve(n - p + 1);
    for (size_t segment = 1;; ++p) {
        const bool last = p >= n || in[p] == '?' || in[p] == '#';
        if (!last && !isSlash(in[p])) {
            appendEncoded(path, in[p], Set::path);
            continue;
        }
        const std::string_view name = std::string_view(path).substr(segment);
        if (isDotDot(name)) {
            path.resize(segment - 1);
            path.resize(path.empty() ? 0 : path.rfind('/'));
            path += '/';
        } else if (isDot(name)) {
            path.resize(segment);
        } else if (!last) {
            path += '/';
        }
        if (last)
            return path;
        segment = path.size();
    }
}

} // namespace

std::optional<WebLink> WebLink::read(QStringView text) {
    const CodePoints in = codePoints(text);
    const size_t n = in.size();
    size_t p = 0;

    // The scheme: letters first, then letters, digits, "+", "-" and "." up to ":".
    if (n == 0 || !isAsciiAlpha(in[0]))
        return std::nullopt;
    std::string scheme;
    for (; p < n &&
           (isAsciiAlpha(in[p]) || isAsciiDigit(in[p]) || in[p] == '+' || in[p] == '-' || in[p] == '.');
         ++p)
        scheme += char(isAsciiAlpha(in[p]) ? in[p] | 0x20 : in[p]);
    if (p >= n || in[p] != ':' || (scheme != "http" && scheme != "https"))
        return std::nullopt;
    ++p;
    const int defaultPort = scheme == "http" ? 80 : 443;

    // Any run of slashes either way, or none, then the authority up to the first of / \ ? #.
    while (p < n && isSlash(in[p]))
        ++p;
    size_t end = p;
    while (end < n && !isSlash(in[end]) && in[end] != '?' && in[end] != '#')
        ++end;
    // The credentials run to the last "@": what follows it is the host the browser connects to.
    size_t hostStart = p;
    std::string userinfo;
    for (size_t i = end; i > p; --i) {
        if (in[i - 1] != '@')
            continue;
        hostStart = i;
        std::string username, password;
        bool inPassword = false;
        for (size_t j = p; j < i - 1; ++j) {
            if (in[j] == ':' && !inPassword)
                inPassword = true;
            else
                appendEncoded(inPassword ? password : username, in[j], Set::userinfo);
        }
        if (!username.empty() || !password.empty())
            userinfo = username + (password.empty() ? "" : ":" + password) + "@";
        break;
    }
    if (hostStart == end)
        return std::nullopt;

    // The host ends at the first ":" outside brackets; the port is digits, or nothing.
    size_t colon = end;
    bool inBrackets = false;
    for (size_t i = hostStart; i < end && colon == end; ++i) {
        if (in[i] == '[')
            inBrackets = true;
        else if (in[i] == ']')
            inBrackets = false;
        else if (in[i] == ':' && !inBrackets)
            colon = i;
    }
    if (colon == hostStart)
        return std::nullopt;
    const auto host = parseHost(std::u32string_view(in).substr(hostStart, colon - hostStart));
    if (!host)
        return std::nullopt;
    std::optional<int> port;
    if (colon < end && colon + 1 < end) {
        int value = 0;
        for (size_t i = colon + 1; i < end; ++i) {
            if (!isAsciiDigit(in[i]))
                return std::nullopt;
            value = std::min(value * 10 + int(in[i] - '0'), 100000);
        }
        if (value > 65535)
            return std::nullopt;
        if (value != defaultPort)
            port = value;
    }

    p = end;
    const std::string path = readPathAt(in, p);

    std::string rest;
    if (p < n && in[p] == '?') {
        rest += '?';
        for (++p; p < n && in[p] != '#'; ++p)
            appendEncoded(rest, in[p], Set::specialQuery);
    }
    if (p < n && in[p] == '#') {
        rest += '#';
        for (++p; p < n; ++p)
            appendEncoded(rest, in[p], Set::fragment);
    }

    WebLink link;
    link.scheme = defaultPort == 80 ? QStringLiteral("http") : QStringLiteral("https");
    link.host = QString::fromLatin1(host->text);
    link.hostIsIp = host->isIp;
    link.port = port.value_or(defaultPort);
    link.path = QString::fromLatin1(path);
    std::string href = scheme;
    href.reserve(scheme.size() + 3 + userinfo.size() + host->text.size() + 6 + path.size() + rest.size());
    href += "://";
    href += userinfo;
    href += host->text;
    if (port)
        href += ':' + std::to_string(*port);
    href += path;
    href += rest;
    link.href = QString::fromLatin1(href);
    return link;
}

QString WebLink::readPath(QStringView path) {
    const CodePoints in = codePoints(path);
    size_t p = 0;
    return QString::fromLatin1(readPathAt(in, p));
}

bool isWebLink(QStringView text) {
    return WebLink::read(text).has_value();
}

} // namespace Tolvane

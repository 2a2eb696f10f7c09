// Code page 932 conversion: iconv "CP932" on POSIX systems, the system conversion on Windows.
#include "convert/cp932.h"

#include "convert/cp932_rules.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace moza::convert {
namespace {

#ifndef _WIN32
/// An iconv conversion that closes itself.
class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    /// Converts all of `in`; on failure returns the offset of the byte that failed.
    bool convert(std::string_view in, std::string& out, std::size_t& failedAt) {
        out.resize(in.size() * 2 + 16);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        while (inLeft > 0) {
            if (iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
            if (errno != E2BIG) {
                failedAt = static_cast<std::size_t>(inPtr - in.data());
                return false;
            }
            const std::size_t used = static_cast<std::size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        out.resize(static_cast<std::size_t>(outPtr - out.data()));
        return true;
    }

private:
    iconv_t m_handle;
};
#endif

/// The error for the character at byte `at` of `utf8`, which code page 932 cannot write; it names
/// the look-alike to use where there is one.
Error unwritable(std::string_view utf8, std::size_t at) {
    const CodePoint point = DecodeUtf8(utf8.substr(at));
    const std::string_view character = utf8.substr(at, static_cast<std::size_t>(point.length));
    std::string message =
        "the character " + DescribeCharacter(character, point.value) + " cannot be written in code page 932";
    ErrorNumbers numbers{.codePoint = point.value};
    const OneWayCharacter* oneWay = FindOneWayCharacter(point.value);
    if (oneWay != nullptr && oneWay->instead != 0) {
        message += "; use " + DescribeCharacter(EncodeUtf8(oneWay->instead), oneWay->instead) + " instead";
        numbers.lookAlike = oneWay->instead;
    }
    return Error{std::move(message), ErrorKind::CharacterNotCp932, {}, std::string(character), numbers};
}

}  // namespace

Result<std::string> Utf8ToCp932(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint point = DecodeUtf8(utf8.substr(at));
        if (point.length == 0) {
            return Error{"the text is not valid UTF-8 (byte " + std::to_string(at + 1) + ")",
                         ErrorKind::TextNotUtf8,
                         {},
                         {},
                         {.byte = static_cast<long long>(at + 1)}};
        }
        if (FindOneWayCharacter(point.value) != nullptr) return unwritable(utf8, at);
        at += static_cast<std::size_t>(point.length);
    }
#ifdef _WIN32
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint point = DecodeUtf8(utf8.substr(at));
        wchar_t wide[2];
        int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + at, point.length, wide, 2);
        char bytes[4];
        BOOL usedDefault = FALSE;
        int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, wideLength, bytes, 4, nullptr, &usedDefault);
        if (wideLength <= 0 || length <= 0 || usedDefault) return unwritable(utf8, at);
        out.append(bytes, static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(point.length);
    }
    return out;
#else
    Converter converter("CP932", "UTF-8");
    if (!converter.valid()) return Error{"this system cannot convert text to code page 932", ErrorKind::NoCp932Converter};
    std::string out;
    std::size_t failedAt = 0;
    if (!converter.convert(utf8, out, failedAt)) return unwritable(utf8, failedAt);
    return out;
#endif
}

Result<std::string> Cp932ToUtf8(std::string_view cp932) {
    if (const std::optional<std::size_t> outside = FirstByteOutsideCp932(cp932)) {
        return Error{"the text is not valid code page 932 (byte " + std::to_string(*outside + 1) + ")"};
    }
#ifdef _WIN32
    if (cp932.empty()) return std::string();
    const int wideLength = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    if (wideLength <= 0) return Error{"the text is not valid code page 932 (an unassigned double-byte code)"};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
#else
    Converter converter("UTF-8", "CP932");
    if (!converter.valid()) return Error{"this system cannot convert text from code page 932"};
    std::string out;
    std::size_t failedAt = 0;
    if (!converter.convert(cp932, out, failedAt)) {
        return Error{"the text is not valid code page 932 (byte " + std::to_string(failedAt + 1) + ")"};
    }
    return out;
#endif
}

}  // namespace moza::convert

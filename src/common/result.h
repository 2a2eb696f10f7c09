// Result<T>: a value or an Error that says, in plain words, what failed and where.
#pragma once

#include <cassert>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "common/error_kind.h"

namespace moza {

/// What went wrong, phrased for the user, by one rule:
/// - An error names the object it was handed and says what is wrong with it, in plain words: a
///   function handed a file names the file ("cannot write '/tmp/a.html': the disk is full"), one
///   handed a table's text names the record and line, one handed a text names the character. A
///   function handed no name (a title, a picture in memory) says only what is wrong ("the title
///   holds a line break, and a page is a single line").
/// - A caller adds what the error cannot know, once, in front, and never names the same object
///   again: "cannot convert 'cat.jpg': " + error.
/// - The text starts in lower case so that it reads on after such a context; front ends that
///   show it alone put it after a sentence of their own.
/// The numbers an error names, each by what it is; each kind (see ErrorKind) says which it sets.
/// One the kind leaves unset is empty, and a front end shows it as not known.
struct ErrorNumbers {
    std::optional<long long> record = {};     ///< a table's record, counted from 1
    std::optional<long long> line = {};       ///< the table's line the record ends or fails on, counted from 1
    std::optional<long long> value = {};      ///< which of the record's values, counted from 1
    std::optional<long long> count = {};      ///< how many values: those of a record cut short, or those after its 10
    std::optional<long long> lowest = {};     ///< the least the value may be
    std::optional<long long> highest = {};    ///< the most the value may be
    std::optional<long long> code = {};       ///< a character code read from a table
    std::optional<long long> limit = {};      ///< the most allowed, in the unit its kind says
    std::optional<long long> width = {};      ///< a picture's width in pixels
    std::optional<long long> height = {};     ///< a picture's height in pixels
    std::optional<long long> codePoint = {};  ///< a character's Unicode code point
    std::optional<long long> lookAlike = {};  ///< the code point of a character to use instead
    std::optional<long long> byte = {};       ///< the place of a byte in a text, counted from 1

    bool operator==(const ErrorNumbers&) const = default;
};

/// Beside the message, where it is made, an error says why in a form a front end can word in its
/// own language: its kind and what the kind names (see ErrorKind).
struct Error {
    std::string message;
    ErrorKind kind = ErrorKind::Other;
    std::filesystem::path file = {};
    std::string text = {};
    ErrorNumbers numbers = {};
};

/// `error` with `context` put in front of its message, naming what it names as before; the file
/// is filled in as `file` when the error named none.
inline Error InContext(std::string_view context, Error error, const std::filesystem::path& file = {}) {
    error.message.insert(0, context);
    if (error.file.empty()) error.file = file;
    return error;
}

/// `path` between single quotes, as messages name a file: 'photos/cat.jpg'.
inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

/// Either a T or an Error. Check ok() before value(); error() only when !ok().
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::move(value)) {}           // NOLINT: implicit by design
    Result(Error error) : m_state(std::move(error)) {}       // NOLINT: implicit by design

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    T& value() & { assert(ok()); return std::get<T>(m_state); }
    const T& value() const& { assert(ok()); return std::get<T>(m_state); }
    T&& value() && { assert(ok()); return std::get<T>(std::move(m_state)); }
    const Error& error() const { assert(!ok()); return std::get<Error>(m_state); }

private:
    std::variant<T, Error> m_state;
};

/// Result of an operation that yields nothing but may fail.
struct Done {};
using Status = Result<Done>;

inline Status success() { return Done{}; }

}  // namespace moza

// FailureText: the reasons of failures as the desktop program tells them, in its own language.
#pragma once

#include <QCoreApplication>
#include <QString>

#include "common/result.h"

namespace moza::ui {

/// Words the reason of an Error for a message box, through Moza's catalogue (Japanese), naming
/// what the error names: the file (with native separators), the character and its code, the
/// numbers. An error of a kind it has no words for (ErrorKind::Other) keeps its English message,
/// made a sentence.
class FailureText {
    Q_DECLARE_TR_FUNCTIONS(FailureText)
public:
    /// One or two sentences saying why; never empty.
    static QString reason(const Error& error);

private:
    static QString fileReason(const Error& error);
    static QString pictureReason(const Error& error);
    static QString textReason(const Error& error);
    static QString tableReason(const Error& error);
    /// The character an error names, as itself and its code.
    static QString character(const Error& error);
    static QString character(const QString& text, long long code);
    static QString sentence(const std::string& message);
};

}  // namespace moza::ui

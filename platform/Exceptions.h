#pragma once

#include <QString>
#include <exception>
#include <optional>

namespace platform {

// Errors the program raises and lets the application's error handler show.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Text that should have been an integer.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A settings file that cannot be written.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// A text file that cannot be read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// Converts text strictly to a 32-bit integer (decimal, or hexadecimal after "0x"/"$");
// raises EConvertError with the user-facing message otherwise.
int StrToInt(const QString& text);

// The same conversion without the error: nullopt for anything that is not an integer.
std::optional<int> TryStrToInt(const QString& text);

} // namespace platform

#pragma once
// The failure type shared by the whole program: a number, a description and
// the last error code of the most recent call into the platform or the path
// library (0 when that call left none).

#include <QString>
#include <exception>
#include <string>

namespace modVantrel {

// Error numbers used for failures that do not come with a number of their own.
namespace ErrorNumber {
inline constexpr int InvalidArgument = 5;  // invalid procedure call or argument
inline constexpr int Overflow = 6;         // a number outside its range
inline constexpr int OutOfMemory = 7;
inline constexpr int FileNotFound = 53;
inline constexpr int FileIo = 57;  // device or file I/O error
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int Unknown = 440;                            // a failure of unknown kind
inline constexpr int DllLoad = static_cast<int>(0x80040000u);  // user-defined failures start here
}  // namespace ErrorNumber

// The last error code recorded after the most recent external call.
[[nodiscard]] int LastDllError();
void SetLastDllError(int code);

class VantrelError : public std::exception {
public:
    VantrelError(int number, QString description, int lastDllError = 0)
        : m_number(number), m_description(std::move(description)), m_lastDllError(lastDllError),
          m_what(m_description.toStdString())
    {
    }

    [[nodiscard]] int number() const noexcept { return m_number; }
    [[nodiscard]] const QString& description() const noexcept { return m_description; }
    [[nodiscard]] int lastDllError() const noexcept { return m_lastDllError; }
    [[nodiscard]] const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    int m_lastDllError;
    std::string m_what;
};

}  // namespace modVantrel

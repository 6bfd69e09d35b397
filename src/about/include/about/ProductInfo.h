#pragma once
// The maker's addresses, its other products and the About text, in one
// place for the other-products window, the help commands and the help.
// The maker has no public site yet: the addresses lie under example.org,
// which is reserved for examples and never reaches anyone.

#include <QString>
#include <array>

namespace ProductInfo {

inline const QString kMakerName = QStringLiteral("Quellan Software");
inline const QString kMakerWebSite = QStringLiteral("https://quellan.example.org/");
inline const QString kSupportMail = QStringLiteral("mailto:support@quellan.example.org");

struct Product {
    QString name;
    QString description;
    QString webAddress;
    QString iconPath;  // a resource path
};

[[nodiscard]] std::array<Product, 2> OtherProducts();

// The About box's text for a version: the name and version, the maker and
// its site's host name, one line each with CR LF between them.
[[nodiscard]] QString AboutText(int major, int minor, int revision);
// The same for the version this program was built as.
[[nodiscard]] QString AboutText();

}  // namespace ProductInfo

#pragma once
// The maker's addresses and its other products, as the other-products
// window and the help commands show them.

#include <QString>
#include <array>

namespace ProductInfo {

inline const QString kMakerName = QStringLiteral("Quellan Software");
inline const QString kMakerWebSite = QStringLiteral("https://www.quellansoftware.example/");
inline const QString kSupportMail = QStringLiteral("mailto:support@quellansoftware.example");

struct Product {
    QString name;
    QString description;
    QString webAddress;
    QString iconPath;  // a resource path
};

[[nodiscard]] std::array<Product, 2> OtherProducts();

}  // namespace ProductInfo

#include "about/ProductInfo.h"

namespace ProductInfo {

std::array<Product, 2> OtherProducts()
{
    return {{
        {QStringLiteral("Quellan Folder Watch"),
         QStringLiteral("Keeps an eye on your folders and lists every file that was added, changed or removed."),
         QStringLiteral("https://www.quellansoftware.example/folderwatch/"), QStringLiteral(":/about/images/folderwatch.png")},
        {QStringLiteral("Quellan Text Sift"),
         QStringLiteral("Searches thousands of text files at once and shows each match in its context."),
         QStringLiteral("https://www.quellansoftware.example/textsift/"), QStringLiteral(":/about/images/textsift.png")},
    }};
}

}  // namespace ProductInfo

#include "about/ProductInfo.h"

#include "vantrel/Version.h"

#include <QStringList>
#include <QUrl>

namespace ProductInfo {

std::array<Product, 2> OtherProducts()
{
    return {{
        {QStringLiteral("Quellan Folder Watch"),
         QStringLiteral("Keeps an eye on your folders and lists every file that was added, changed or removed."),
         kMakerWebSite + QStringLiteral("folderwatch/"), QStringLiteral(":/about/images/folderwatch.png")},
        {QStringLiteral("Quellan Text Sift"),
         QStringLiteral("Searches thousands of text files at once and shows each match in its context."),
         kMakerWebSite + QStringLiteral("textsift/"), QStringLiteral(":/about/images/textsift.png")},
    }};
}

QString AboutText(int major, int minor, int revision)
{
    const QString version = QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
    return QStringList{QStringLiteral("Vantrel v") + version,
                       QString(),
                       QStringLiteral("Developed by ") + kMakerName,
                       QUrl(kMakerWebSite).host(),
                       QString(),
                       QString()}
        .join(QStringLiteral("\r\n"));
}

QString AboutText()
{
    return AboutText(VANTREL_VERSION_MAJOR, VANTREL_VERSION_MINOR, VANTREL_VERSION_PATCH);
}

}  // namespace ProductInfo

#pragma once
// Light, dark and high-contrast palettes to draw with, and the contrast ratio of two
// colours by the WCAG formula, written out here on its own so that the
// program's colour rules are checked against an independent reckoning.

#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <cmath>
#include <memory>

inline double WcagContrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            v /= 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

inline QPalette LightPalette()
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    return fusion->standardPalette();
}

// A dark desktop's palette that keeps the light palette's link colours, as
// many do.
inline QPalette DarkPalette()
{
    QPalette dark = LightPalette();
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(45, 45, 45)},      {QPalette::WindowText, QColor(220, 220, 220)},
        {QPalette::Base, QColor(30, 30, 30)},        {QPalette::Text, QColor(220, 220, 220)},
        {QPalette::Button, QColor(53, 53, 53)},      {QPalette::ButtonText, QColor(220, 220, 220)},
        {QPalette::Highlight, QColor(42, 130, 218)}, {QPalette::HighlightedText, QColor(255, 255, 255)}};
    for (const auto& [role, colour] : roles)
        dark.setColor(role, colour);
    return dark;
}

// A high-contrast desktop's palette: white on black, a yellow highlight
// with black text on it.
inline QPalette HighContrastPalette()
{
    QPalette high = LightPalette();
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, QColor(0, 0, 0)},         {QPalette::WindowText, QColor(255, 255, 255)},
        {QPalette::Base, QColor(0, 0, 0)},           {QPalette::Text, QColor(255, 255, 255)},
        {QPalette::Button, QColor(0, 0, 0)},         {QPalette::ButtonText, QColor(255, 255, 255)},
        {QPalette::Mid, QColor(128, 128, 128)},      {QPalette::Highlight, QColor(255, 255, 0)},
        {QPalette::HighlightedText, QColor(0, 0, 0)}};
    for (const auto& [role, colour] : roles)
        high.setColor(role, colour);
    return high;
}

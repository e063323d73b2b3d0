#pragma once

class QWidget;

namespace orvinda {

// The forms lay themselves out in twips, as they were designed. Widgets keep
// pixels, so every length goes through here; the exact twips last written are
// remembered per widget, so reading a length back returns what the layout
// arithmetic wrote and not a value rounded to whole pixels.
class Twips
{
public:
    static constexpr int PorPixel = 15; // at 96 dpi

    static int APixeles(int twips);
    static int DesdePixeles(int pixeles);

    static int Left(const QWidget* w);
    static int Top(const QWidget* w);
    static int Width(const QWidget* w);
    static int Height(const QWidget* w);

    static void SetLeft(QWidget* w, int twips);
    static void SetTop(QWidget* w, int twips);
    // Throw ErrorRm for a negative size; the widget is left as it was.
    static void SetWidth(QWidget* w, int twips);
    static void SetHeight(QWidget* w, int twips);

    // Left, top, width, height in one call; checks both sizes before moving.
    static void Mover(QWidget* w, int left, int top, int width, int height);
};

} // namespace orvinda

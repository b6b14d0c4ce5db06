#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QString>
#include <functional>

class QWidget;

// The application's colours, each with a light and a dark variant, and the
// palettes installed when the user picks a light or dark appearance.
class Theme {
public:
    enum class Appearance { light, dark };

    // A colour that is resolved when it is drawn: the dark variant under a
    // dark palette, the light one otherwise.
    class Color {
    public:
        Color(const char *lightHex, const char *darkHex) : m_light(lightHex), m_dark(darkHex) {}

        QColor light() const;
        QColor dark() const;
        QColor resolved(const QPalette &palette = QGuiApplication::palette()) const;

    private:
        const char *m_light;
        const char *m_dark;
    };

    static Color accent() { return {"#D97757", "#D97757"}; }
    static Color background() { return {"#FAF9F5", "#262624"}; }
    static Color card() { return {"#F0EEE6", "#30302E"}; }
    static Color placeholder() { return {"#E8E6DC", "#3D3D3A"}; }
    static Color text() { return {"#141413", "#FAF9F5"}; }
    // The fill of controls laid over pictures (badges, control bars), drawn translucent.
    static Color material() { return {"#FFFFFF", "#30302E"}; }

    // The palette's text colour faded, for counts, captions and headers.
    static QColor secondaryText(const QPalette &palette);
    // Whether the palette's window colour is a dark one.
    static bool isDark(const QPalette &palette);
    static QPalette palette(Appearance appearance);
    // The palette with the accent as its highlight, the colour of selected
    // text and rows and of the focus rings the style draws: they then match
    // the rings the views paint in the accent, whatever the desktop's own.
    static QPalette withAccentHighlight(QPalette palette);
    // Runs `repaint` each time the widget's palette changes, so what was
    // drawn or picked in the colours of the old appearance follows the new one.
    static void followPalette(QWidget *widget, std::function<void()> repaint);
    // Runs `paint` now, then as followPalette does.
    static void paintAndFollow(QWidget *widget, const std::function<void()> &paint);
    // Draws the widget's text in the faded secondary colour of the current
    // appearance, now and after each change of appearance.
    static void useSecondaryText(QWidget *widget);
};

#pragma once

#include <QString>

class AppLanguage;

// The interface font chosen for the interface language. Fontconfig ranks the
// fonts of a family by the system's language, so on a Chinese system the
// default family is a CJK font, whose Latin letters and punctuation would
// then draw an English interface too. Asked with the interface language, it
// gives an English interface the font an English system gives it, and a
// Chinese one the font of a Chinese system; text in the other script still
// falls back to a font that has it.
class InterfaceFont {
public:
    // The family fontconfig chooses for `family` in a language given as a
    // tag such as "en" or "zh-cn"; empty when it chooses none.
    static QString family(const QString &family, const QString &language);
    // Makes that family, for the desktop's font, the application's font.
    // Call before any window is made.
    static void use(const AppLanguage &language);
};

#include "InterfaceFont.h"

#include "AppLanguage.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace {

struct PatternDeleter {
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8 *fcText(const QByteArray &text)
{
    return reinterpret_cast<const FcChar8 *>(text.constData());
}

} // namespace

QString InterfaceFont::family(const QString &family, const QString &language)
{
    const Pattern pattern(FcPatternCreate());
    if (!pattern)
        return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, fcText(family.toUtf8()));
    FcPatternAddString(pattern.get(), FC_LANG, fcText(language.toUtf8()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *name = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(name));
}

void InterfaceFont::use(const AppLanguage &language)
{
    // The desktop's font, so a second call starts from it again.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QString chosen =
        family(font.family(), language.showsChinese() ? QStringLiteral("zh-cn") : QStringLiteral("en"));
    if (chosen.isEmpty())
        return;
    font.setFamily(chosen);
    QApplication::setFont(font);
}

#include "platform/base/IconTheme.h"

#include <QDir>
#include <QIcon>

void EnsureIconTheme()
{
    static bool checked = false;
    if (checked) return;
    checked = true;
    QStringList paths = QIcon::themeSearchPaths();
    QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    if (dataDirs.isEmpty())
        dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    dataDirs.prepend(QDir::homePath() + QStringLiteral("/.local/share"));
    for (const QString& base : dataDirs) {
        const QString icons = base + QStringLiteral("/icons");
        if (!paths.contains(icons) && QDir(icons).exists()) paths.append(icons);
    }
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor")) return;
    for (const char* theme : {"Adwaita", "breeze", "hicolor"}) {
        for (const QString& base : paths) {
            if (QDir(base + u'/' + QLatin1String(theme)).exists()) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
        }
    }
}

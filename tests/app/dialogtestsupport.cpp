// The INI reader of the dialog tests.
#include "tests/app/dialogtestsupport.h"

#include <QFile>
#include <QTextStream>

QMap<QString, QString> ReadIniFile(const QString& path) {
    QMap<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QString section;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
        } else if (const int eq = line.indexOf(QLatin1Char('=')); eq > 0) {
            values.insert(section + QLatin1Char('/') + line.left(eq), line.mid(eq + 1));
        }
    }
    return values;
}

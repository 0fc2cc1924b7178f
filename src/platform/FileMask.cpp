#include "platform/FileMask.h"

#include <QRegularExpression>

FsResult RemoveMatchingFiles(FileSystem& fs, const QString& folder, const QString& mask,
                             const FsResult& noMatch)
{
    QStringList names;
    if (FsResult listed = fs.listFiles(folder, names); !listed)
        return listed;
    // Masks follow the convention users know: "*.*" means every file, letter case does not matter.
    const QString pattern = mask == u"*.*" ? QStringLiteral("*") : mask;
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    QString base = folder;
    while (base.size() > 1 && base.endsWith(u'/')) base.chop(1);
    bool matched = false;
    for (const QString& name : names) {
        if (!re.match(name).hasMatch())
            continue;
        matched = true;
        if (FsResult removed = fs.removeFile(base + u'/' + name); !removed)
            return removed;
    }
    return matched ? FsResult::success() : noMatch;
}

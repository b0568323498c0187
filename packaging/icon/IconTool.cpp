// Writes the application icon as files, at build time:
//   stallmark_icon_tool theme <folder> <name> <size>...   hicolor theme PNGs
//   stallmark_icon_tool ico <file>                        the Windows icon file
// The picture is painted on images only, so no window system is needed.

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "IconFiles.h"

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QString error;
    bool ok = false;
    if (mode == QLatin1String("theme") && argc > 4) {
        std::vector<int> sizes;
        for (int i = 4; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
        ok = stallmark::WriteThemeIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), sizes, error);
    } else if (mode == QLatin1String("ico") && argc == 3) {
        ok = stallmark::WriteWindowsIcon(QString::fromLocal8Bit(argv[2]), error);
    } else {
        std::fputs("usage: stallmark_icon_tool theme <folder> <name> <size>... | ico <file>\n", stderr);
        return 2;
    }
    if (!ok) std::fprintf(stderr, "stallmark_icon_tool: %s\n", error.toLocal8Bit().constData());
    return ok ? 0 : 1;
}

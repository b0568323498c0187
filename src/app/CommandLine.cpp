#include "app/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace stallmark {

using namespace Qt::Literals::StringLiterals;

CommandLine::CommandLine()
    : data_(u"data"_s,
#ifdef _WIN32
            u"Keep the data files in <folder> (made when missing) instead of the program's folder."_s,
#else
            u"Keep the data files in <folder> (made when missing) instead of ~/.local/share/Stallmark."_s,
#endif
            u"folder"_s),
      settings_(u"settings"_s,
#ifdef _WIN32
                u"Keep the settings in the INI file <file> instead of the registry."_s,
#else
                u"Keep the settings in the INI file <file> instead of ~/.config/Orvanel/Stallmark.ini."_s,
#endif
                u"file"_s),
      help_(QStringList{u"h"_s, u"help"_s, u"?"_s}, u"Show this help and exit."_s),
      version_(QStringList{u"v"_s, u"version"_s}, u"Show the version and exit."_s) {
    parser_.setApplicationDescription(
        u"Stallmark keeps a shop's price and stock lists and types any line of them into the game window.\n"
        "Give each shop its own --data folder and --settings file to keep several shops apart."_s);
    parser_.addOption(data_);
    parser_.addOption(settings_);
    parser_.addOption(help_);
    parser_.addOption(version_);
}

bool CommandLine::Parse(const QStringList& arguments) {
    error_.clear();
    if (!parser_.parse(arguments)) {
        error_ = parser_.errorText();
        return false;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        error_ = u"Unexpected argument '%1'."_s.arg(parser_.positionalArguments().constFirst());
        return false;
    }
    for (const QCommandLineOption* option : {&data_, &settings_}) {
        if (parser_.values(*option).size() > 1) {
            error_ = u"Option '--%1' given more than once."_s.arg(option->names().constFirst());
            return false;
        }
        if (parser_.isSet(*option) && parser_.value(*option).isEmpty()) {
            error_ = u"Option '--%1' needs a value."_s.arg(option->names().constFirst());
            return false;
        }
    }
    return true;
}

bool CommandLine::WantsHelp() const { return parser_.isSet(help_); }
bool CommandLine::WantsVersion() const { return parser_.isSet(version_); }
QString CommandLine::DataFolder() const { return parser_.value(data_); }
QString CommandLine::SettingsFile() const { return parser_.value(settings_); }
QString CommandLine::HelpText() const { return parser_.helpText(); }

void CommandLine::ShowHelp() { parser_.showHelp(0); }

void CommandLine::ShowVersion() { parser_.showVersion(); }

bool AnswersInText(const QStringList& arguments, bool mistakesInText) {
    CommandLine commandLine;
    const bool parsed = commandLine.Parse(arguments);
    if (commandLine.WantsHelp() || commandLine.WantsVersion()) return true;
    if (parsed || !mistakesInText) return false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a.size() > 2 && a.startsWith(u'-') && a[1] != u'-') return false;
    }
    return true;
}

PreparedFolder PrepareDataFolder(const QString& given) {
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(given));
    const QString shown = QDir::toNativeSeparators(absolute);
    QFileInfo info(absolute);
    if (info.exists() && !info.isDir())
        return {QString(), u"Cannot use the data folder\n\r%1\n\rIt is a file, not a folder."_s.arg(shown)};
    if (!info.exists() && !QDir().mkpath(absolute))
        return {QString(), u"Cannot use the data folder\n\r%1\n\rIt cannot be made."_s.arg(shown)};
    info.refresh();
    if (!info.isWritable())
        return {QString(), u"Cannot use the data folder\n\r%1\n\rIt cannot be written."_s.arg(shown)};
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) return {QString(), u"Cannot use the data folder\n\r%1\n\rIt cannot be read."_s.arg(shown)};
    return {canonical, QString()};
}

PreparedFolder PrepareSettingsFile(const QString& given) {
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(given));
    if (QFileInfo(absolute).isDir())
        return {QString(),
                u"Cannot use the settings file\n\r%1\n\rIt is a folder."_s.arg(QDir::toNativeSeparators(absolute))};
    return {absolute, QString()};
}

QString WindowTitleFor(const QString& dataFolder) {
    QString name = QDir(dataFolder).dirName();
    if (name.isEmpty()) name = QDir::toNativeSeparators(dataFolder);  // the root has no name of its own
    return u"Stallmark - "_s + name;
}

std::string PathBytes(const QString& path) { return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString(); }

}  // namespace stallmark

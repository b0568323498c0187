#pragma once
// The program's command line: --help, --version, and --data / --settings so
// that one installation serves several shops, each with its own data folder
// and settings file. Without options the program keeps its usual places.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>

namespace stallmark {

class CommandLine {
public:
    CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Parses the arguments, the program name first. False on a mistake
    // (unknown option, missing value, a stray argument): ErrorText() tells it.
    // --help and --version are still recognised after a mistake.
    bool Parse(const QStringList& arguments);
    const QString& ErrorText() const { return error_; }

    bool WantsHelp() const;
    bool WantsVersion() const;
    // The values as given; empty when the option is absent.
    QString DataFolder() const;
    QString SettingsFile() const;

    // The usage text that --help prints.
    QString HelpText() const;
    // Print (or, on Windows without a console, show) the text and end the program.
    [[noreturn]] void ShowHelp();
    [[noreturn]] void ShowVersion();

private:
    QCommandLineParser parser_;
    QCommandLineOption data_;
    QCommandLineOption settings_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QString error_;
};

// Whether these arguments are answered with text alone, so that no window
// system is needed: --help, --version, and (when mistakesInText) a mistake,
// unless some argument may be one of the toolkit's own options ("-style",
// "-platform"), which only the window system's start-up takes out.
bool AnswersInText(const QStringList& arguments, bool mistakesInText);

// A folder given on the command line, made ready for the data files.
struct PreparedFolder {
    QString path;   // absolute and canonical, without a trailing separator; empty on failure
    QString error;  // the player's message when the folder cannot be used
};

// Makes the folder absolute (against the current folder), creates it with its
// parents when missing and checks that it is a folder that can be written.
PreparedFolder PrepareDataFolder(const QString& given);

// The settings file given on the command line as an absolute path; error
// tells why it cannot be used (it names a folder), and the path is then empty.
PreparedFolder PrepareSettingsFile(const QString& given);

// The main window's title for a data folder chosen with --data:
// "Stallmark - " and the folder's own name.
QString WindowTitleFor(const QString& dataFolder);

// An absolute path as the bytes the standard library opens files by: the
// local 8-bit encoding, with the system's separators.
std::string PathBytes(const QString& path);

}  // namespace stallmark

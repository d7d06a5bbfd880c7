#include "framework/Dialogs.h"

#include "framework/core/FilePaths.h"

#include <algorithm>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <QWidget>

namespace vd {

namespace {

TOpenDialog::Script& CurrentScript() {
    static TOpenDialog::Script script; // tests only
    return script;
}

QString FromBytes(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ToBytes(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

} // namespace

std::vector<TFilterEntry> ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    std::vector<TFilterEntry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

std::vector<std::string> StandardPlaces() {
    std::vector<std::string> places;
    for (const auto location : {QStandardPaths::HomeLocation, QStandardPaths::DesktopLocation,
                                QStandardPaths::DocumentsLocation, QStandardPaths::MusicLocation,
                                QStandardPaths::DownloadLocation}) {
        const QString path = QStandardPaths::writableLocation(location);
        if (path.isEmpty() || !QFileInfo(path).isDir())
            continue;
        const std::string bytes = ToBytes(QDir::cleanPath(path));
        // Without a desktop folder of its own, a place is the home folder again.
        if (std::find(places.begin(), places.end(), bytes) == places.end())
            places.push_back(bytes);
    }
    places.push_back(ToBytes(QDir::rootPath()));
    return places;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

void TOpenDialog::SetScript(Script script) {
    CurrentScript() = std::move(script);
}

void TOpenDialog::Accept(std::vector<std::string> files) {
    if (IsSaveDialog() && !DefaultExt.empty())
        for (std::string& f : files)
            if (ExtractFileExt(f).empty())
                f += "." + DefaultExt;
    files_ = std::move(files);
    file_name_ = files_.empty() ? std::string() : files_.front();
}

namespace {

// The dialog's filters: each description with its patterns, for the dialog to filter by.
QStringList NameFilters(const std::string& filter) {
    QStringList filters;
    for (const TFilterEntry& e : ParseFilter(filter)) {
        QString patterns = QString::fromStdString(e.patterns);
        patterns.replace(';', ' ');
        filters << QString::fromStdString(e.description) + " (" + patterns + ")";
    }
    return filters;
}

void SetFilters(QFileDialog& dialog, const std::string& filter, int filter_index) {
    // The patterns follow each description for the dialog to filter by; the list shows the
    // description alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = NameFilters(filter);
    // File types are told by extension whatever the case of its letters ("SONG.MP3" is an MPEG
    // file): the patterns must list such names too, whatever the toolkit's default.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(filter_index, 1, static_cast<int>(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
}

// Saving asks for any name (and whether to overwrite, when asked to); opening for files that
// exist, one or several.
void SetMode(QFileDialog& dialog, bool save, TOpenOptions options) {
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if ((options & ofOverwritePrompt) == 0)
            dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((options & ofAllowMultiSelect) != 0 ? QFileDialog::ExistingFiles
                                                               : QFileDialog::ExistingFile);
    }
}

void SetPlaces(QFileDialog& dialog, TPlacesBar places) {
    if (places == TPlacesBar::pbStandard) {
        QList<QUrl> urls;
        for (const std::string& place : StandardPlaces())
            urls << QUrl::fromLocalFile(FromBytes(place));
        dialog.setSidebarUrls(urls);
    }
    if (places == TPlacesBar::pbHidden) {
        if (auto* sidebar = dialog.findChild<QWidget*>(QStringLiteral("sidebar")))
            sidebar->hide();
    }
}

} // namespace

bool TOpenDialog::Execute() {
    if (CurrentScript()) {
        std::optional<std::vector<std::string>> answer = CurrentScript()(*this);
        if (!answer || answer->empty())
            return false;
        Accept(std::move(*answer));
        return true;
    }
    QFileDialog dialog(nullptr, FromBytes(Title));
    SetFilters(dialog, Filter, FilterIndex);
    if (!InitialDir.empty())
        dialog.setDirectory(FromBytes(InitialDir));
    SetMode(dialog, IsSaveDialog(), Options);
    SetPlaces(dialog, PlacesBar());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    std::vector<std::string> files;
    for (const QString& f : dialog.selectedFiles())
        files.push_back(ToBytes(f));
    if (files.empty())
        throw Exception("The file dialog returned no file for the choice.");
    Accept(std::move(files));
    return true;
}

} // namespace vd

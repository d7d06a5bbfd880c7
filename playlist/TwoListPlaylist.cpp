#include "playlist/TwoListPlaylist.h"

#include "framework/ListBox.h"
#include "framework/Types.h"
#include "framework/core/FilePaths.h"
#include "playlist/file/PlaylistFile.h"
#include "playlist/file/PlaylistSort.h"

namespace vd {

namespace {

std::vector<std::string> DisplayNames(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    names.reserve(paths.size());
    for (const std::string& path : paths)
        names.emplace_back(ExtractFileName(path));
    return names;
}

} // namespace

TwoListPlaylist::TwoListPlaylist(TListBox& paths, TListBox& names) : paths_(paths), names_(names) {}

int TwoListPlaylist::Count() const {
    return paths_.Count();
}

int TwoListPlaylist::SelectedIndex() const {
    return paths_.ItemIndex();
}

void TwoListPlaylist::Select(int index) {
    names_.SetItemIndex(index);
    MirrorSelection(names_.ItemIndex());
}

void TwoListPlaylist::MirrorSelection(int shown_index) {
    paths_.SetItemIndex(shown_index);
}

std::string TwoListPlaylist::PathAt(int index) const {
    if (index < 0 || index >= paths_.Count())
        throw Exception("Playlist error: " + std::to_string(index) + " files in playlist");
    return paths_.Items(index);
}

const std::vector<std::string>& TwoListPlaylist::Paths() const {
    return paths_.Lines();
}

void TwoListPlaylist::SetPlayingIndex(int index) {
    playing_ = index >= 0 && index < Count() ? index : -1;
}

void TwoListPlaylist::Clear() {
    paths_.Clear();
    names_.Clear();
    playing_ = -1;
}

void TwoListPlaylist::Append(const std::string& path) {
    paths_.Add(path);
    names_.Add(std::string(ExtractFileName(path)));
}

void TwoListPlaylist::Append(std::vector<std::string> paths) {
    std::vector<std::string> names = DisplayNames(paths);
    paths_.AddRange(std::move(paths));
    names_.AddRange(std::move(names));
}

void TwoListPlaylist::Replace(std::vector<std::string> paths) {
    paths_.BeginUpdate();
    names_.BeginUpdate();
    Clear();
    Append(std::move(paths));
    paths_.EndUpdate();
    names_.EndUpdate();
}

void TwoListPlaylist::RemoveSelected() {
    const int index = paths_.ItemIndex();
    if (index < 0 || names_.ItemIndex() < 0)
        return;
    paths_.Delete(index);
    names_.Delete(index);
    if (playing_ == index)
        playing_ = -1;
    else if (playing_ > index)
        --playing_;
    // The list boxes drop the selection with the deleted entry; Play resumes the playing one.
    Select(playing_);
}

void TwoListPlaylist::Sort() {
    const std::vector<std::size_t> order = SortedOrder(paths_.Lines());
    int playing = -1;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (static_cast<int>(order[i]) == playing_)
            playing = static_cast<int>(i);
    playing_ = playing;
    paths_.Reorder(order);
    names_.BeginUpdate();
    names_.Clear();
    names_.AddRange(DisplayNames(paths_.Lines()));
    names_.EndUpdate();
    Select(playing_);
}

void TwoListPlaylist::LoadFromFile(const std::string& file) {
    Replace(ResolvePlaylistEntries(LoadPlaylistFile(file), file));
}

void TwoListPlaylist::SaveToFile(const std::string& file) const {
    SavePlaylistFile(file, paths_.Lines());
}

} // namespace vd

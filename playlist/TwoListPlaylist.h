#pragma once

#include <string>
#include <vector>

namespace vd {

class TListBox;

// The playlist, held twice in step: the hidden list of full paths and the shown list of display
// names. Every change goes to both, the paths first; the selection is the same index in both.
class TwoListPlaylist {
public:
    TwoListPlaylist(TListBox& paths, TListBox& names);

    [[nodiscard]] int Count() const;
    // The selected index, -1 for none.
    [[nodiscard]] int SelectedIndex() const;
    // Selects `index` in the shown list and mirrors it; an index outside the list selects nothing.
    void Select(int index);
    // Mirrors a selection the shown list reported into the path list.
    void MirrorSelection(int shown_index);
    // The full path at `index`; fails with "Playlist error: %d files in playlist" outside the list.
    [[nodiscard]] std::string PathAt(int index) const;
    [[nodiscard]] const std::vector<std::string>& Paths() const;
    // The entry started last, -1 for none (or when it was removed). It follows its entry through
    // sorting and removals, which select it again.
    [[nodiscard]] int PlayingIndex() const { return playing_; }
    void SetPlayingIndex(int index);

    void Clear();
    void Append(const std::string& path);
    void Append(std::vector<std::string> paths);
    // Both lists become `paths`, nothing selected.
    void Replace(std::vector<std::string> paths);
    // Deletes the selected entry from both lists; nothing without a selection. The playing entry
    // is selected afterwards, if it is still there.
    void RemoveSelected();
    // Puts the entries in order of their whole paths (case-insensitive in the user's locale;
    // equal paths keep their order); the playing entry is selected afterwards, if there is one.
    void Sort();

    // Reads a playlist file and only then replaces both lists: a failing read changes nothing.
    // Relative entries are taken from the file's folder (ResolvePlaylistEntries): the lists hold
    // the paths the player opens, and saving writes those.
    void LoadFromFile(const std::string& file);
    // Writes the paths to a playlist file; a failing write leaves the old file whole.
    void SaveToFile(const std::string& file) const;

private:
    TListBox& paths_;
    TListBox& names_;
    int playing_ = -1;
};

} // namespace vd

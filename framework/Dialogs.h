#pragma once

#include "framework/Component.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vd {

enum TOpenOptionFlag : unsigned {
    ofAllowMultiSelect = 1u << 0,
    ofHideReadOnly = 1u << 1,
    ofEnableSizing = 1u << 2,
    ofOverwritePrompt = 1u << 3,
};
using TOpenOptions = unsigned;

// The column of places at a file dialog's side: the toolkit's own choice, the standard places
// (StandardPlaces below), or none.
enum class TPlacesBar { pbDefault, pbStandard, pbHidden };

// A file dialog: title, filter ("description|patterns|description|patterns"; patterns match
// names without regard to case), options; Execute asks a person (or, in tests, a script) and
// tells whether a choice was made.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);

    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // The chosen file (the first one when several were chosen).
    [[nodiscard]] const std::string& FileName() const { return file_name_; }
    void SetFileName(std::string name) { file_name_ = std::move(name); }
    // All chosen files, in the order the dialog returned them.
    [[nodiscard]] const std::vector<std::string>& Files() const { return files_; }

    // Shows the dialog; true when the person chose a file, false when they cancelled. A dialog
    // that fails (it cannot be shown, or it returns no file for a confirmed choice) raises an
    // Exception with the reason. Where the desktop offers its own file dialog (a portal, or the
    // desktop theme's), that dialog is used; otherwise the toolkit's.
    virtual bool Execute();

    [[nodiscard]] virtual bool IsSaveDialog() const { return false; }

    // Tests answer dialogs with a script: it gets the dialog and returns the chosen paths, or
    // nothing for a cancel; it may throw to stand for a dialog that fails.
    using Script = std::function<std::optional<std::vector<std::string>>(const TOpenDialog&)>;
    static void SetScript(Script script);

protected:
    [[nodiscard]] virtual TPlacesBar PlacesBar() const { return TPlacesBar::pbDefault; }
    // Applies the choice: file names, with DefaultExt added to a name typed without extension
    // when saving.
    void Accept(std::vector<std::string> files);

private:
    std::string file_name_;
    std::vector<std::string> files_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner);
    [[nodiscard]] bool IsSaveDialog() const override { return true; }
};

// The filter entries of a filter text: pairs of description and patterns.
struct TFilterEntry {
    std::string description;
    std::string patterns;
};
[[nodiscard]] std::vector<TFilterEntry> ParseFilter(const std::string& filter);

// The standard places of this desktop, as folder paths: home, desktop, documents, music and
// downloads where they exist, then the file system's root.
[[nodiscard]] std::vector<std::string> StandardPlaces();

} // namespace vd

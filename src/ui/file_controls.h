// Choosing a place in the file system, reduced to what the windows need: a drive list (the
// roots of the file system), a directory list (the current directory and the directories
// one can open from it) and a file list (the files of a directory, one of them highlighted).
#pragma once

#include <string>
#include <vector>

#include "ui/controls.h"

namespace varigap::ui {

// The roots the user may choose among; the highlighted entry is ListIndex.
class DriveList : public ListControl {
public:
    DriveList(Window& window, std::string name);
    // The roots listed, e.g. "/" and the mount points of removable media.
    void SetDrives(const std::vector<std::string>& roots);
    const std::string& Drive() const { return drive_; }
    // Chooses a root (highlighting it) and raises Change when it differs. Whether it can be
    // read is found out by whoever follows it (the directory list).
    void SetDrive(const std::string& root);
    // The same without Change: puts the list back on a root after a failed choice.
    void RestoreDrive(const std::string& root);
    // The listed root that holds `path` (the longest one), "/" when none does.
    std::string DriveOf(const std::string& path) const;
    Event<> Change;

    // Enter: chooses the highlighted root, if any.
    void ChooseHighlighted();

    void UserHighlight(int i);  // focus, highlight
    void UserChoose(int i);     // focus, highlight, choose it

private:
    void Highlight(const std::string& root);
    std::string drive_;
};

// A directory and the directories one can open from it: ".." (unless it is a root) first,
// then its sub-directories by name. Nothing is highlighted after the path changes.
class DirList : public ListControl {
public:
    using ListControl::ListControl;
    const std::string& Path() const { return path_; }
    // Goes to `path` (made absolute and normal). A directory that cannot be read raises a
    // run-time error and changes nothing; Change is raised when the path differs.
    void SetPath(const std::string& path);
    // The directory of the highlighted entry; the path itself when nothing is highlighted.
    std::string HighlightedPath() const;
    void Refresh();
    // Enter: opens the highlighted directory; one that cannot be read leaves the list where it was.
    void OpenHighlighted();
    Event<> Change;

    void UserHighlight(int i);
    // A double click: opens the entry; one that cannot be read leaves the list where it was.
    void UserOpen(int i);
    // Opens a directory that is no entry of the list (an ancestor a tree view shows above the
    // current directory); one that cannot be read leaves the list where it was.
    void UserOpenPath(const std::string& path);

private:
    std::string path_;
};

// The files of a directory (regular files whose names do not begin with "."), sorted.
class FileList : public ListControl {
public:
    using ListControl::ListControl;
    const std::string& Path() const { return path_; }
    // Lists the files of `path`; nothing is highlighted. A directory that cannot be read
    // raises a run-time error and changes nothing.
    void SetPath(const std::string& path);
    // The highlighted file's name, "" when none is.
    std::string FileName() const;
    void Refresh();

    void UserClickItem(int i);
    void UserDoubleClickItem(int i);

private:
    std::string path_;
};

// A directory path made absolute and normal, without a trailing "/" (unless it is "/").
std::string NormalDirectory(const std::string& path);

}  // namespace varigap::ui

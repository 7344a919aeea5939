// Drive, directory and file lists.
#include "ui/file_controls.h"

#include <algorithm>
#include <filesystem>

#include "core/textfile.h"
#include "core/types.h"

namespace fs = std::filesystem;

namespace varigap::ui {

std::string NormalDirectory(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path.empty() ? fs::path(".") : fs::path(path), ec);
    if (ec) p = path;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// ---------------------------------------------------------------- drives

DriveList::DriveList(Window& window, std::string name) : ListControl(window, std::move(name)) { SetDrives({"/"}); }

void DriveList::SetDrives(const std::vector<std::string>& roots) {
    items_.clear();
    for (const auto& r : roots) items_.push_back(NormalDirectory(r));
    if (drive_.empty() && !items_.empty()) drive_ = items_.front();
    Highlight(drive_);
}

void DriveList::Highlight(const std::string& root) {
    auto it = std::find(items_.begin(), items_.end(), root);
    ItemList::SetListIndex(it == items_.end() ? -1 : static_cast<int>(it - items_.begin()));
    Changed();
}

void DriveList::SetDrive(const std::string& root) {
    std::string r = NormalDirectory(root);
    bool differs = r != drive_;
    drive_ = r;
    Highlight(r);
    if (differs) Change();
}

void DriveList::RestoreDrive(const std::string& root) {
    drive_ = NormalDirectory(root);
    Highlight(drive_);
}

std::string DriveList::DriveOf(const std::string& path) const {
    std::string p = NormalDirectory(path);
    std::string best;
    for (const auto& root : items_) {
        bool holds = root == "/" || p == root || p.rfind(root + "/", 0) == 0;
        if (holds && root.size() > best.size()) best = root;
    }
    return best.empty() ? "/" : best;
}

void DriveList::UserHighlight(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
    });
}

void DriveList::UserChoose(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        if (ListIndex() >= 0) SetDrive(List(ListIndex()));
    });
}

// ---------------------------------------------------------------- directories

void DirList::SetPath(const std::string& path) {
    std::string p = NormalDirectory(path);
    std::vector<std::string> dirs = ListDirectories(p);  // raises when it cannot be read
    bool differs = p != path_;
    path_ = p;
    items_.clear();
    if (p != "/") items_.push_back("..");
    for (auto& d : dirs) items_.push_back(d);
    listIndex_ = -1;
    text_.clear();
    Changed();
    if (differs) Change();
}

std::string DirList::HighlightedPath() const {
    if (ListIndex() < 0) return path_;
    return NormalDirectory((fs::path(path_) / List(ListIndex())).string());
}

void DirList::Refresh() { SetPath(path_); }

void DirList::OpenHighlighted() {
    try {
        SetPath(HighlightedPath());
    } catch (const RunTimeError&) {
        Refresh();
    }
}

void DriveList::ChooseHighlighted() {
    if (ListIndex() >= 0) SetDrive(List(ListIndex()));
}

void DirList::UserHighlight(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
    });
}

void DirList::UserOpen(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        DblClick();
        std::string target = HighlightedPath();
        try {
            SetPath(target);
        } catch (const RunTimeError&) {
            Refresh();  // the directory went away or cannot be read: stay here
        }
    });
}

void DirList::UserOpenPath(const std::string& path) {
    UserAction([this, &path] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        try {
            SetPath(path);
        } catch (const RunTimeError&) {
            Refresh();  // it cannot be read: stay here
        }
    });
}

// ---------------------------------------------------------------- files

void FileList::SetPath(const std::string& path) {
    std::string p = NormalDirectory(path);
    std::vector<std::string> files = ListFiles(p);  // raises when it cannot be read
    path_ = p;
    items_.clear();
    for (auto& f : files)
        if (!f.empty() && f[0] != '.') items_.push_back(f);
    listIndex_ = -1;
    text_.clear();
    Changed();
}

std::string FileList::FileName() const { return ListIndex() >= 0 ? List(ListIndex()) : std::string(); }

void FileList::Refresh() { SetPath(path_); }

void FileList::UserClickItem(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
    });
}

void FileList::UserDoubleClickItem(int i) {
    UserAction([this, i] {
        if (!Visible() || !Enabled()) return;
        SetFocus();
        SetListIndex(i);
        DblClick();
    });
}

}  // namespace varigap::ui

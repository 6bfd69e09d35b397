#include "Folders.h"

#include "FolderReport.h"

#include "engine/NamePattern.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// What an entry is, as far as the comparison cares; `error` set when it
// could not be told.
struct Entry {
    std::string path;
    fs::file_type type = fs::file_type::none;
    std::error_code error;
};

// A name in a folder, with its kind when the listing told it (regular
// file or folder, not through a link); else none.
struct Listed {
    std::string name;
    fs::file_type type = fs::file_type::none;
    friend bool operator<(const Listed& a, const Listed& b) { return a.name < b.name; }
};

// What the entry at `path` is; `listed` spares asking the system again.
Entry Look(const Run& run, const std::string& path, fs::file_type listed = fs::file_type::none)
{
    Entry entry;
    if (listed != fs::file_type::none) {
        entry.path = path;
        entry.type = listed;
        return entry;
    }
    entry.path = path;
    const fs::file_status status =
        run.cmd.noDereference ? fs::symlink_status(path, entry.error) : fs::status(path, entry.error);
    entry.type = status.type();
    return entry;
}

std::string TypeName(const Entry& entry)
{
    std::error_code ignored;
    switch (entry.type) {
    case fs::file_type::regular: return fs::file_size(entry.path, ignored) == 0 ? "regular empty file" : "regular file";
    case fs::file_type::directory: return "directory";
    case fs::file_type::symlink: return "symbolic link";
    case fs::file_type::fifo: return "fifo";
    case fs::file_type::socket: return "socket";
    case fs::file_type::character: return "character special file";
    case fs::file_type::block: return "block special file";
    default: return "weird file";
    }
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool Excluded(const CommandLine& cmd, const std::string& name)
{
    return std::any_of(cmd.excludes.begin(), cmd.excludes.end(),
                       [&](const std::string& pattern) { return MatchesPattern(pattern, name); });
}

// The names in `folder`, sorted, without the excluded ones; false (and
// the trouble said) when it cannot be read.
bool ListFolder(Run& run, const std::string& folder, bool top, std::vector<Listed>& names)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (Excluded(run.cmd, name) || (top && !run.cmd.startingFile.empty() && name < run.cmd.startingFile))
            continue;
        // The listing's own word on the kind, when it gives one and the
        // entry is no link: no further question to the system.
        std::error_code unknown;
        fs::file_type type = fs::file_type::none;
        if (!it->is_symlink(unknown) && !unknown)
            type = it->is_regular_file(unknown) ? fs::file_type::regular
                   : it->is_directory(unknown)  ? fs::file_type::directory
                                                : fs::file_type::none;
        names.push_back({std::move(name), unknown ? fs::file_type::none : type});
    }
    if (error) {
        run.Trouble(folder + ": " + std::strerror(error.value()));
        return false;
    }
    std::sort(names.begin(), names.end());
    return true;
}

// The folders being compared above the current pair, nearest first: the
// device and inode of each side's folder (none for an absent side).
struct Ancestors {
    struct Id {
        bool present = false;
        dev_t device = 0;
        ino_t inode = 0;
        friend bool operator==(const Id&, const Id&) = default;
    };
    Id side[2];
    const Ancestors* up = nullptr;
};

void CompareFolders(Run& run, const std::string& one, const std::string& two, const Ancestors* above);

// An entry present in one folder only: reported, or compared against an
// absent (empty) file when the options ask.
void OnlyIn(Run& run, const std::string& folder, const Listed& listed, int side, const std::string& other,
            const Ancestors* above)
{
    const CommandLine& cmd = run.cmd;
    const bool asEmpty = cmd.newFile || (cmd.newFileInFirst && side == 1);
    const std::string& name = listed.name;
    const std::string path = Join(folder, name);
    const Entry entry = Look(run, path, listed.type);
    if (!asEmpty) {
        run.Note(1);
        return Print("Only in " + folder + ": " + name + "\n");
    }
    const Operand present{path, false};
    const Operand absent{Join(other, name), true};
    // Without -r a folder taken against an absent one counts as common.
    if (entry.type == fs::file_type::directory && !cmd.recursive)
        return Print("Common subdirectories: "
                     + (side == 0 ? path + " and " + absent.path : absent.path + " and " + path) + "\n");
    if (entry.type == fs::file_type::directory)
        return side == 0 ? CompareFolders(run, path, absent.path, above)
                         : CompareFolders(run, absent.path, path, above);
    CompareFiles(run, side == 0 ? present : absent, side == 0 ? absent : present, true);
}

// Two entries of the same name.
void ComparePair(Run& run, const std::string& folder1, const Listed& one, const std::string& folder2, const Listed& two,
                 const Ancestors* above)
{
    const std::string path1 = Join(folder1, one.name);
    const std::string path2 = Join(folder2, two.name);
    const Entry e1 = Look(run, path1, one.type);
    const Entry e2 = Look(run, path2, two.type);
    if (e1.error || e2.error) {
        if (e1.error)
            run.Trouble(path1 + ": " + std::strerror(e1.error.value()));
        if (e2.error)
            run.Trouble(path2 + ": " + std::strerror(e2.error.value()));
        return;
    }
    const bool dir1 = e1.type == fs::file_type::directory;
    const bool dir2 = e2.type == fs::file_type::directory;
    if (dir1 && dir2) {
        if (run.cmd.recursive)
            return CompareFolders(run, path1, path2, above);
        return Print("Common subdirectories: " + path1 + " and " + path2 + "\n");
    }
    if (e1.type == fs::file_type::regular && e2.type == fs::file_type::regular)
        return CompareFiles(run, {path1, false}, {path2, false}, true);
    if (e1.type == fs::file_type::symlink && e2.type == fs::file_type::symlink) {
        std::error_code ignored;
        if (fs::read_symlink(path1, ignored) == fs::read_symlink(path2, ignored))
            return;
        run.Note(1);
        return Print("Symbolic links " + path1 + " and " + path2 + " differ\n");
    }
    run.Note(1);
    Print("File " + path1 + " is a " + TypeName(e1) + " while file " + path2 + " is a " + TypeName(e2) + "\n");
}

// The device and inode of the folder at `path`, through links.
Ancestors::Id IdOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino};
}

// True when the folder of one side is one of that side's ancestors.
bool SeenAbove(const Ancestors* above, int side, const Ancestors::Id& id)
{
    for (; above; above = above->up)
        if (above->side[side] == id)
            return true;
    return false;
}

// A folder that leads back into one of its own ancestors through a link
// would be compared forever: when every side present does, the pair is
// trouble and not entered. (A tree nested however deep is no loop.)
void CompareFolders(Run& run, const std::string& one, const std::string& two, const Ancestors* above)
{
    const bool top = above == nullptr;
    const Ancestors here{{IdOf(one), IdOf(two)}, above};
    if (!top && (!here.side[0].present || SeenAbove(above, 0, here.side[0]))
        && (!here.side[1].present || SeenAbove(above, 1, here.side[1])))
        return run.Trouble((here.side[0].present ? one : two) + ": recursive directory loop");
    std::vector<Listed> names[2];
    std::error_code error;
    // An absent side (-N with -r) lists nothing.
    const bool ok1 = !fs::exists(one, error) ? true : ListFolder(run, one, top, names[0]);
    const bool ok2 = !fs::exists(two, error) ? true : ListFolder(run, two, top, names[1]);
    if (!ok1 || !ok2)
        return;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < names[0].size() || j < names[1].size()) {
        const int order = i == names[0].size()   ? 1
                          : j == names[1].size() ? -1
                                                 : names[0][i].name.compare(names[1][j].name);
        if (order < 0)
            OnlyIn(run, one, names[0][i++], 0, two, &here);
        else if (order > 0)
            OnlyIn(run, two, names[1][j++], 1, one, &here);
        else
            ComparePair(run, one, names[0][i++], two, names[1][j++], &here);
    }
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return path != "-" && fs::is_directory(path, error);
}

std::string BaseName(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

void CompareOperands(Run& run, const std::string& one, const std::string& two)
{
    const bool folder1 = IsFolder(one);
    const bool folder2 = IsFolder(two);
    std::error_code error;
    const CommandLine& cmd = run.cmd;
    // A folder against a missing one taken as empty (-N) is compared whole.
    const bool empty1 = !folder1 && one != "-" && !fs::exists(one, error) && (cmd.newFile || cmd.newFileInFirst);
    const bool empty2 = !folder2 && two != "-" && !fs::exists(two, error) && cmd.newFile;
    if ((folder1 && folder2) || (folder1 && empty2) || (empty1 && folder2)) {
        if (cmd.style == CommandLine::Style::Html)
            return WriteFolderReport(run, one, two);
        return CompareFolders(run, one, two, nullptr);
    }
    if ((folder1 && two == "-") || (folder2 && one == "-"))
        return run.Trouble("cannot compare '-' to a directory");
    const std::string path1 = folder1 ? Join(one, BaseName(two)) : one;
    const std::string path2 = folder2 ? Join(two, BaseName(one)) : two;
    const bool missing1 = one != "-" && !fs::exists(path1, error) && !fs::is_symlink(path1, error);
    const bool missing2 = two != "-" && !fs::exists(path2, error) && !fs::is_symlink(path2, error);
    if (missing1 && missing2) {
        run.Trouble(path1 + ": " + std::strerror(ENOENT));
        return run.Trouble(path2 + ": " + std::strerror(ENOENT));
    }
    // The file named in a folder must be there, -N or not.
    const bool named = folder1 || folder2;
    CompareFiles(run, {path1, empty1 && !missing2 && !named}, {path2, empty2 && !missing1 && !named}, false);
}

#pragma once
// git's .gitignore rules: the patterns of the .gitignore files met while
// walking down a tree, and whether they leave out an entry of it.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules of the .gitignore files met while walking down one tree, each
// applying to the folder it was found in and everything below it.
class IgnoreChain {
public:
    // A chain with the rules of `text` (the bytes of a .gitignore file) found in
    // the folder `folderFromRoot` ("" for the tree's root, else "a/b" without
    // leading or trailing slash), on top of `parent` (null at the root, or the
    // chain in force in the folder above). Returns `parent` itself when the
    // text holds no rule.
    [[nodiscard]] static std::shared_ptr<const IgnoreChain> Extend(std::shared_ptr<const IgnoreChain> parent,
                                                                   std::string folderFromRoot, std::string_view text);
    // True when the entry at `pathFromRoot` ("a/b/c", no leading slash) is
    // ignored; `isFolder` for a folder (patterns ending in "/" match folders
    // only). The entry's parent folders are not looked at: the walk does not
    // enter an ignored folder. Rules found in a folder apply only to entries
    // below it.
    [[nodiscard]] bool Ignored(std::string_view pathFromRoot, bool isFolder) const;

    ~IgnoreChain();
    IgnoreChain(const IgnoreChain&) = delete;
    IgnoreChain& operator=(const IgnoreChain&) = delete;

    struct Pattern;  // one line of a .gitignore, parsed

private:
    IgnoreChain();
    // Whether this file's rules alone ignore `fromFolder`, the path below
    // the folder; none when no pattern matches it.
    [[nodiscard]] std::optional<bool> Verdict(std::string_view fromFolder, bool isFolder) const;

    std::shared_ptr<const IgnoreChain> m_parent;
    std::string m_prefix;  // "a/b/" for the folder the rules were found in, "" at the root
    std::vector<Pattern> m_patterns;
};

#pragma once
// The pairs of trees the folder benchmark compares, made once and kept:
// a generated pair of 100,000 files in 5,000 folders, and two versions of a
// real source tree from Debian's packages.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace FolderTrees {

inline bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

inline bool WriteFile(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

// 50 folders of 99 folders each (5,000 in all), 20 files in each of the
// 99 and none in the 50: 99,000 files of 200 B to 4 KB of text lines. In
// tree two, one file in a hundred is changed (half of them in their last
// byte, so that only reading all of it tells, half by a line added), 25
// files are only in one tree, 25 only in the other, and 2 folders only in
// one.
inline std::array<std::string, 2> Generated(const std::string& work)
{
    const std::string root = work + "/generated";
    const std::array<std::string, 2> roots{root + "/one", root + "/two"};
    if (Exists(root + "/done"))
        return roots;
    std::printf("folder_bench: making the generated trees under %s (once)\n", root.c_str());
    std::fflush(stdout);
    (void)std::system(("rm -rf '" + root + "' && mkdir -p '" + root + "'").c_str());
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> lines(4, 80);
    long made = 0;
    for (const std::string& tree : roots)
        ::mkdir(tree.c_str(), 0755);
    for (int top = 0; top < 50; ++top) {
        const std::string upper = "/part" + std::to_string(top);
        for (const std::string& tree : roots)
            ::mkdir((tree + upper).c_str(), 0755);
        for (int sub = 0; sub < 99; ++sub) {
            const std::string folder = upper + "/module" + std::to_string(sub);
            for (const std::string& tree : roots)
                ::mkdir((tree + folder).c_str(), 0755);
            for (int file = 0; file < 20; ++file, ++made) {
                std::string text;
                for (int line = lines(random); line > 0; --line)
                    text += "line " + std::to_string(random() % 100000) + " of the generated file\n";
                const std::string name = folder + "/file" + std::to_string(file) + ".txt";
                const bool oneSided = made % 3960 == 17;
                if (!WriteFile(roots[0] + name + (oneSided ? ".old" : ""), text))
                    return {};
                if (made % 100 == 42)
                    text.back() == '\n' && made % 200 == 42 ? (void)(text.back() = '!') : (void)(text += "added\n");
                if (!WriteFile(roots[1] + name + (oneSided ? ".new" : ""), text))
                    return {};
            }
        }
    }
    for (const char* only : {"/part3/extra-one", "/part7/extra-two"})
        if (::mkdir((roots[0] + only).c_str(), 0755) != 0 || !WriteFile(roots[0] + only + "/inside.txt", "x\n"))
            return {};
    (void)WriteFile(root + "/done", "");
    return roots;
}

// Two versions of linux-source-6.1 (about 80,000 files each): the packages
// fetched with apt-get download, their source archives unpacked.
inline std::array<std::string, 2> Linux(const std::string& work)
{
    const std::string root = work + "/linux";
    const std::array<const char*, 2> versions{"6.1.176-1", "6.1.192-3"};
    const std::array<std::string, 2> roots{root + "/" + versions[0] + "/linux-source-6.1",
                                           root + "/" + versions[1] + "/linux-source-6.1"};
    if (Exists(root + "/done"))
        return roots;
    std::printf("folder_bench: fetching and unpacking linux-source-6.1 %s and %s under %s (once)\n", versions[0],
                versions[1], root.c_str());
    std::fflush(stdout);
    for (const char* version : versions) {
        const std::string folder = root + "/" + version;
        const std::string command = "mkdir -p '" + folder + "' && cd '" + folder
                                    + "' && apt-get download -q linux-source-6.1=" + version
                                    + " && dpkg-deb -x linux-source-6.1_*.deb package"
                                      " && tar -xJf package/usr/src/linux-source-6.1.tar.xz && rm -rf package *.deb";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "folder_bench: could not get linux-source-6.1 %s\n", version);
            return {};
        }
    }
    (void)WriteFile(root + "/done", "");
    return roots;
}

}  // namespace FolderTrees

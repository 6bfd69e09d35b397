#pragma once
// While one lives, a test run by root acts as an unprivileged user, whom
// file permissions bind as they bind any user; for anyone else it changes
// nothing. Only the effective user and group change (the group too, since
// root's group would otherwise grant what the files give their group), so
// root is taken back after.

#include <QtGlobal>

#include <unistd.h>

class Unprivileged {
public:
    static constexpr uid_t kNobody = 65534;

    Unprivileged() : m_wasRoot(::geteuid() == 0)
    {
        if (m_wasRoot && (::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0))
            qFatal("cannot become an unprivileged user");
    }
    ~Unprivileged()
    {
        if (m_wasRoot && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot become root again");
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool m_wasRoot;
};

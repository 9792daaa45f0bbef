#pragma once

#include "extract/io/UniqueFd.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace vocafetch {

// A folder that output files are placed in, held open so that every name is resolved inside
// it and never through a link that appears on the way later.

class OutputFolder
{
public:
    // Opens the folder the user chose (a link to it is fine: the choice is theirs).
    static OutputFolder open(const QByteArray &path);

    // The folder relativePath ("a/b") below this one, creating missing components. No
    // component is followed through a link: "Cannot create folder "PATH": "a" is a symbolic
    // link". Empty, "." and ".." components and absolute paths are refused.
    OutputFolder makePath(const QByteArray &relativePath) const;

    const QByteArray &path() const noexcept { return m_path; }
    int descriptor() const noexcept { return m_fd->get(); }
    // The folder's file system and inode, to tell folders and file systems apart.
    dev_t device() const noexcept { return m_device; }
    ino_t inode() const noexcept { return m_inode; }
    // Folders that gained an entry when this one was created (its parents up to the chosen
    // folder): they are synced along with it so the new folders survive a crash.
    const std::vector<OutputFolder> &createdIn() const noexcept { return m_createdIn; }

private:
    OutputFolder(const QByteArray &path, UniqueFd fd);

    QByteArray m_path;
    std::shared_ptr<UniqueFd> m_fd;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::vector<OutputFolder> m_createdIn;
};

} // namespace vocafetch

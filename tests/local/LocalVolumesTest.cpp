// SPDX-License-Identifier: GPL-3.0-or-later
// The folder tree's top level from the kernel's mount table, and local paths in file URIs and
// text/uri-list byte for byte.

#include "local/LocalVolumes.h"
#include "local/LocalUriList.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

// A desktop machine's table: the root, /boot, the system's pseudo file systems, a snap image, a
// container's overlay, a stick under /run/media with a blank in its name, an NFS share and a
// disk mounted over another one at /data.
constexpr std::string_view kMountInfo =
    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "23 22 0:21 / /proc rw,nosuid - proc proc rw\n"
    "24 22 0:22 / /sys rw,nosuid shared:7 - sysfs sysfs rw\n"
    "25 22 0:5 / /dev rw - devtmpfs udev rw\n"
    "26 22 0:24 / /run rw - tmpfs tmpfs rw\n"
    "27 22 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
    "28 22 7:0 / /snap/core/123 ro - squashfs /dev/loop0 ro\n"
    "29 22 0:50 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n"
    "30 26 8:17 / /run/media/ann/My\\040Stick rw,nosuid - vfat /dev/sdb1 rw\n"
    "31 22 0:51 / /mnt/share rw - nfs4 server:/export rw\n"
    "32 26 0:52 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "33 22 8:3 / /data rw - ext4 /dev/sda3 rw\n"
    "34 33 8:4 / /data rw - xfs /dev/sda4 rw\n"
    "35 22 8:5 / /home rw - ext4 /dev/sda5 rw\n"
    "garbage line\n"
    "36 22 0:53 / relative rw - ext4 /dev/x rw\n";

std::vector<std::string> Paths(const std::vector<TTopFolder>& tops) {
    std::vector<std::string> paths;
    for (const TTopFolder& top : tops) {
        paths.push_back(top.Path);
    }
    return paths;
}

} // namespace

TEST(LocalVolumes, MountTableLinesAreReadWithTheirEscapes) {
    const auto mounts = ParseMountInfo(kMountInfo);
    ASSERT_EQ(mounts.size(), 14u); // the garbage and the relative mount point are left out
    EXPECT_EQ(mounts[0].MountPoint, "/");
    EXPECT_EQ(mounts[0].FsType, "ext4");
    EXPECT_EQ(mounts[0].Source, "/dev/sda2");
    EXPECT_EQ(mounts[8].MountPoint, "/run/media/ann/My Stick");
    EXPECT_EQ(mounts[9].FsType, "nfs4");
    // Optional fields ("shared:7") before the separator do not shift the rest.
    EXPECT_EQ(mounts[2].FsType, "sysfs");
}

TEST(LocalVolumes, TheTopLevelHoldsRootHomeAndTheUsersVolumes) {
    const auto tops = TopFolders(ParseMountInfo(kMountInfo), "/home/ann/");
    EXPECT_EQ(Paths(tops), (std::vector<std::string>{"/", "/home/ann", "/data", "/mnt/share",
                                                     "/run/media/ann/My Stick"}));
    EXPECT_EQ(tops[0].Kind, TTopFolderKind::Root);
    EXPECT_EQ(tops[1].Kind, TTopFolderKind::Home);
    EXPECT_EQ(tops[2].Kind, TTopFolderKind::Volume);
    EXPECT_TRUE(tops[3].Network);
    EXPECT_FALSE(tops[4].Network);

    // A home folder that is itself a mount point is shown once, as the home folder; root's
    // home "/" adds no node.
    const auto mounted =
        TopFolders(ParseMountInfo("1 0 8:1 / / rw - ext4 a rw\n2 1 8:2 / /srv/ann rw - ext4 b rw\n"
                                  "3 1 8:3 / /u/ann rw - ext4 c rw\n"),
                   "/u/ann");
    EXPECT_EQ(Paths(mounted), (std::vector<std::string>{"/", "/u/ann"}));
    EXPECT_EQ(Paths(TopFolders({}, "/")), std::vector<std::string>{"/"});
}

TEST(LocalVolumes, AFolderBelongsToTheDeepestTopFolderThatHoldsIt) {
    const auto tops = TopFolders(ParseMountInfo(kMountInfo), "/home/ann");
    EXPECT_EQ(DeepestTopFolder(tops, "/home/ann/docs"), std::optional<std::size_t>(1));
    EXPECT_EQ(DeepestTopFolder(tops, "/home/ann"), std::optional<std::size_t>(1));
    EXPECT_EQ(DeepestTopFolder(tops, "/home/anna"), std::optional<std::size_t>(0));
    EXPECT_EQ(DeepestTopFolder(tops, "/data/x/y"), std::optional<std::size_t>(2));
    EXPECT_EQ(DeepestTopFolder(tops, "/"), std::optional<std::size_t>(0));
    EXPECT_EQ(DeepestTopFolder(tops, "relative"), std::nullopt);

    const auto mounts = ParseMountInfo(kMountInfo);
    EXPECT_EQ(MountOf(mounts, "/mnt/share/a")->FsType, "nfs4");
    EXPECT_EQ(MountOf(mounts, "/data/x")->FsType, "xfs"); // the later mount over /data
    EXPECT_EQ(MountOf(mounts, "/mnt")->FsType, "ext4");
    EXPECT_TRUE(IsNetworkFileSystem("cifs"));
    EXPECT_FALSE(IsNetworkFileSystem("ext4"));
}

TEST(LocalVolumes, ThisMachinesTableHasTheRoot) {
    const auto mounts = ReadMountTable();
    ASSERT_FALSE(mounts.empty());
    EXPECT_TRUE(std::any_of(mounts.begin(), mounts.end(),
                            [](const TMountEntry& mount) { return mount.MountPoint == "/"; }));
}

TEST(LocalUriList, PathsTravelByteForByte) {
    const std::string odd = "/tmp/caf\xe9 100%#?.txt";
    const std::string uri = FileUriOf(odd);
    EXPECT_EQ(uri, "file:///tmp/caf%E9%20100%25%23%3F.txt");
    EXPECT_EQ(PathOfFileUri(uri), odd);
    EXPECT_EQ(PathOfFileUri("file://localhost/a%2Fb"), std::string("/a/b"));
    EXPECT_EQ(PathOfFileUri("FILE:///x"), std::string("/x"));
    EXPECT_EQ(PathOfFileUri("file:/x%c3%a9"), std::string("/x\xc3\xa9"));
    EXPECT_EQ(PathOfFileUri("file://otherhost/x"), std::nullopt);
    EXPECT_EQ(PathOfFileUri("http://host/x"), std::nullopt);
    EXPECT_EQ(PathOfFileUri("file:///bad%zz"), std::nullopt);
    EXPECT_EQ(PathOfFileUri("file:///nul%00byte"), std::nullopt);
    EXPECT_EQ(PathOfFileUri("file:///cut%4"), std::nullopt);

    const std::string list = MakeUriList({odd, "/b"});
    EXPECT_EQ(list, uri + "\r\nfile:///b\r\n");
    EXPECT_EQ(ParseUriList("# a comment\r\n" + list + "\nhttp://x/y\n\nfile:///last"),
              (std::vector<std::string>{odd, "/b", "/last"}));
}

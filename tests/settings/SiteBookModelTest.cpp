// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SiteBookModel.h"

#include "platform/ConfigStore.h"
#include "settings/GlobalOptions.h"
#include "settings/StoreKeys.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

using namespace qx;
using qx::test::TempDir;
using Names = std::vector<std::string>;
using TIcon = TSiteBookMessage::TIcon;

namespace {

const std::string Tree(SiteBookTreeKey);

Names ChildTexts(const TSiteBookNode& node) {
    Names texts;
    for (const auto& child : node.Children()) {
        texts.push_back(child->Text());
    }
    return texts;
}

class SiteBookModelTest : public testing::Test {
protected:
    void AddKey(const std::string& path, const char* kind) {
        m_store.CreateKey(Tree + path);
        if (kind != nullptr) {
            m_store.WriteString(Tree + path, "", kind);
        }
    }

    TempDir m_dir;
    TConfigStore m_store{m_dir.file("settings.conf")};
    TGlobalOptions m_options{m_store};
    TSiteBookModel m_book{m_store, m_options, "alice"};
};

} // namespace

TEST_F(SiteBookModelTest, AnEmptyStoreShowsTheRootAndGetsTheTreeKey) {
    m_book.Load();
    EXPECT_EQ(m_book.Root().Text(), "alice");
    EXPECT_TRUE(m_book.Root().Children().empty());
    EXPECT_EQ(m_store.ReadString(Tree, ""), "Folder");
    EXPECT_EQ(TSiteBookModel::NodeKeyPath(m_book.Root()), Tree);
    EXPECT_EQ(TSiteBookModel::NodeLocation(m_book.Root()), "\\");
    EXPECT_FALSE(TSiteBookModel::CurrentUserName().empty());
}

TEST_F(SiteBookModelTest, LoadShowsFoldersThenSitesSortedAndSkipsOtherKeys) {
    AddKey("\\Zeta", "Site");
    AddKey("\\alpha", "Site");
    AddKey("\\work", "Folder");
    AddKey("\\work\\Mirror", "Site");
    AddKey("\\Backup", "Folder");
    AddKey("\\Hand", nullptr);
    AddKey("\\Hand\\Inner", "Site");
    AddKey("\\Odd", "folder");
    m_store.WriteString(Tree + "\\work\\Mirror", "HostName", "ftp.example.org");
    m_book.Load();

    EXPECT_EQ(ChildTexts(m_book.Root()), (Names{"Backup", "work", "alpha", "Zeta"}));
    EXPECT_TRUE(m_store.KeyExists(Tree + "\\Hand\\Inner")); // not shown, not touched

    TSiteBookNode* mirror = m_book.FindByLocation("\\WORK\\mirror");
    ASSERT_NE(mirror, nullptr);
    EXPECT_TRUE(mirror->IsSite());
    ASSERT_NE(mirror->Properties(), nullptr);
    EXPECT_EQ(mirror->Properties()->SiteNode, mirror);
    EXPECT_EQ(mirror->Properties()->HostName, "ftp.example.org");
    EXPECT_EQ(TSiteBookModel::NodeLocation(*mirror), "\\work\\Mirror");
    EXPECT_EQ(TSiteBookModel::NodeKeyPath(*mirror), Tree + "\\work\\Mirror");
    EXPECT_EQ(m_book.FindByLocation("work"), mirror->Parent());
    EXPECT_EQ(m_book.FindByLocation("\\"), &m_book.Root());
    EXPECT_EQ(m_book.FindByLocation("\\work\\"), nullptr);
    EXPECT_EQ(m_book.FindByLocation("\\Hand\\Inner"), nullptr);
}

TEST_F(SiteBookModelTest, NewFolderTakesTheLowestFreeNumber) {
    AddKey("\\new folder #1", "Folder");
    AddKey("\\New Folder #3", nullptr);
    m_book.Load();
    const auto second = m_book.NewFolder(m_book.Root());
    ASSERT_NE(second.Node, nullptr);
    EXPECT_TRUE(second.Message.Empty());
    EXPECT_EQ(second.Node->Text(), "New Folder #2");
    EXPECT_EQ(m_store.ReadString(Tree + "\\New Folder #2", ""), "Folder");
    EXPECT_EQ(m_book.NewFolder(m_book.Root()).Node->Text(), "New Folder #4");
    EXPECT_EQ(ChildTexts(m_book.Root()),
              (Names{"new folder #1", "New Folder #2", "New Folder #4"}));

    const auto inner = m_book.NewFolder(*second.Node);
    ASSERT_NE(inner.Node, nullptr);
    EXPECT_EQ(TSiteBookModel::NodeLocation(*inner.Node), "\\New Folder #2\\New Folder #1");
}

TEST_F(SiteBookModelTest, CreateSiteStoresItAndRefusesTakenOrInvalidNames) {
    m_book.Load();
    auto site = std::make_unique<TSiteProperties>(m_options);
    site->HostName = "ftp.example.org";
    const TSiteProperties* object = site.get();
    const auto created = m_book.CreateSite(m_book.Root(), "Mirror", std::move(site));
    ASSERT_NE(created.Node, nullptr);
    EXPECT_EQ(created.Node->Properties(), object);
    EXPECT_EQ(object->SiteNode, created.Node);
    EXPECT_EQ(m_store.ReadString(Tree + "\\Mirror", ""), "Site");
    EXPECT_EQ(m_store.ReadString(Tree + "\\Mirror", "HostName"), "ftp.example.org");

    const auto taken = m_book.CreateSite(m_book.Root(), "MIRROR", nullptr);
    EXPECT_EQ(taken.Node, nullptr);
    EXPECT_EQ(taken.Message.Title, "Site Book Create Error");
    EXPECT_EQ(taken.Message.Text.Text(), "New name [MIRROR] already exists! Use another name.");
    EXPECT_EQ(taken.Message.Icon, TIcon::Error);

    for (const char* bad : {"", "a\\b"}) {
        const auto refused = m_book.CreateSite(m_book.Root(), bad, nullptr);
        EXPECT_EQ(refused.Node, nullptr);
        EXPECT_EQ(refused.Message.Title, "Site Book Create Error");
        EXPECT_NE(refused.Message.Text.Text().find(std::string("[") + bad + "]"),
                  std::string::npos);
    }
    EXPECT_EQ(m_book.CreateSite(*created.Node, "Inside", nullptr).Node, nullptr);
    EXPECT_EQ(m_store.SubKeyNames(Tree), Names{"Mirror"});
}

TEST_F(SiteBookModelTest, RenameMovesTheKeyWithEverythingBelow) {
    AddKey("\\Work", "Folder");
    AddKey("\\Work\\Mirror", "Site");
    AddKey("\\Work\\Mirror\\Toolbar", nullptr);
    AddKey("\\Other", "Folder");
    m_book.Load();
    TSiteBookNode& work = *m_book.FindByLocation("\\Work");
    TSiteBookNode& mirror = *m_book.FindByLocation("\\Work\\Mirror");

    for (const char* taken : {"Work", "other", "OTHER"}) {
        const auto refused = m_book.Rename(work, taken);
        EXPECT_EQ(refused.Title, "Site Book Rename Error");
        EXPECT_EQ(refused.Text.Text(), std::string("New name [") + taken + "] already exists.");
        EXPECT_EQ(refused.Icon, TIcon::Warning);
    }
    EXPECT_EQ(work.Text(), "Work");
    EXPECT_FALSE(m_book.Rename(work, "").Empty());
    EXPECT_TRUE(m_book.Rename(m_book.Root(), "root").Empty());
    EXPECT_EQ(m_book.Root().Text(), "alice");

    EXPECT_TRUE(m_book.Rename(work, "Jobs").Empty());
    EXPECT_EQ(work.Text(), "Jobs");
    EXPECT_EQ(ChildTexts(m_book.Root()), (Names{"Other", "Jobs"})); // keeps its place
    EXPECT_FALSE(m_store.KeyExists(Tree + "\\Work"));
    EXPECT_TRUE(m_store.KeyExists(Tree + "\\Jobs\\Mirror\\Toolbar"));
    EXPECT_EQ(TSiteBookModel::NodeKeyPath(mirror), Tree + "\\Jobs\\Mirror");
    EXPECT_EQ(mirror.Properties()->SiteNode, &mirror);
}

TEST_F(SiteBookModelTest, DeleteRemovesEverythingBelowAndForgetsItsSites) {
    AddKey("\\Work", "Folder");
    AddKey("\\Work\\A", "Site");
    AddKey("\\Work\\Deep", "Folder");
    AddKey("\\Work\\Deep\\B", "Site");
    AddKey("\\Keep", "Site");
    m_book.Load();
    std::set<const TSiteProperties*> forgotten;
    m_book.SetForgetSite([&](const TSiteProperties& site) { forgotten.insert(&site); });
    const TSiteProperties* a = m_book.FindByLocation("\\Work\\A")->Properties();
    const TSiteProperties* b = m_book.FindByLocation("\\Work\\Deep\\B")->Properties();

    EXPECT_TRUE(m_book.Delete(m_book.Root()).Empty());
    EXPECT_EQ(m_book.Root().Children().size(), 2u);
    EXPECT_TRUE(m_book.Delete(*m_book.FindByLocation("\\Work")).Empty());
    EXPECT_EQ(forgotten, (std::set<const TSiteProperties*>{a, b}));
    EXPECT_EQ(ChildTexts(m_book.Root()), Names{"Keep"});
    EXPECT_EQ(m_store.SubKeyNames(Tree), Names{"Keep"});

    TSiteBookNode& keep = *m_book.FindByLocation("\\Keep");
    m_store.DeleteKey(Tree + "\\Keep");
    const auto failed = m_book.Delete(keep);
    EXPECT_EQ(failed.Title, "Site Book Delete Error");
    EXPECT_EQ(failed.Text.Text(), "Cannot delete [Keep].");
    EXPECT_EQ(m_book.Root().Children().size(), 1u);
    m_book.SetForgetSite(nullptr); // the book outlives the set

    forgotten.clear();
    AddKey("\\Last", "Site");
    {
        TSiteBookModel closing(m_store, m_options, "alice");
        closing.Load();
        closing.SetForgetSite([&](const TSiteProperties& site) { forgotten.insert(&site); });
    }
    EXPECT_EQ(forgotten.size(), 1u); // when the tree goes away
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/XmlReader.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(XmlReader, ReadsElementsAttributesTextAndEntities) {
    const std::string text = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- saved -->\n"
                             "<Root version='3' note=\"a &amp; b\">\n"
                             "  <Folder expanded=\"1\">Work &lt;old&gt;<Server/><Server>"
                             "<Host>ftp.example.com</Host><Pass encoding=\"base64\">c2Vj</Pass>"
                             "<Name><![CDATA[x<y]]> &#233;&#x4E2D;</Name></Server></Folder>\n"
                             "</Root>\n";
    std::string error;
    const auto root = ParseXml(text, error);
    ASSERT_TRUE(root) << error;
    EXPECT_EQ(root->Name, "Root");
    EXPECT_EQ(*root->Attribute("version"), "3");
    EXPECT_EQ(*root->Attribute("note"), "a & b");
    const TXmlElement* folder = root->Child("Folder");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->Text, "Work <old>");
    ASSERT_EQ(folder->Children.size(), 2U);
    const TXmlElement& server = folder->Children[1];
    EXPECT_EQ(server.ChildText("Host"), "ftp.example.com");
    EXPECT_EQ(*server.Child("Pass")->Attribute("encoding"), "base64");
    EXPECT_EQ(server.ChildText("Name"), "x<y \xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(server.ChildText("Missing"), "");
}

TEST(XmlReader, RefusesWhatIsNotWellFormedWithTheLine) {
    const std::pair<std::string, std::string> faults[] = {
        {"<!DOCTYPE a [<!ENTITY x \"y\">]><a>&x;</a>", "DOCTYPE"},
        {"<a>\n<b></a>", "line 2: the element b ends with another name"},
        {"<a>\n\n<b>", "line 3: the element b does not end"},
        {"<a x=1/>", "not quoted"},
        {"<a x=\"<\"/>", "\"<\" in an attribute value"},
        {"<a>&bogus;</a>", "&bogus;"},
        {"<a>&#0;</a>", "&#0;"},
        {"<a/><b/>", "only one root element"},
        {"", "no element"},
        {std::string(200, '<'), "a name is missing"},
    };
    for (const auto& [text, expected] : faults) {
        std::string error;
        EXPECT_FALSE(ParseXml(text, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
    }
    std::string deep;
    for (int i = 0; i < 150; ++i) {
        deep += "<a>";
    }
    std::string error;
    EXPECT_FALSE(ParseXml(deep, error));
    EXPECT_NE(error.find("nested too deep"), std::string::npos) << error;
}

} // namespace
} // namespace qx

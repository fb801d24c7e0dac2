#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The manual as the program finds it: beside the program, with the
// pictures the build made.
const fs::path kDocFolder = KINEMO_DOC_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Reference {
    std::string tag;        // "a", "img", "link", ...
    std::string attribute;  // "href" or "src"
    std::string value;
};

// The value of every `name="..."` inside the tag text `attributes`.
std::vector<std::pair<std::string, std::string>> Attributes(const std::string& attributes) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t at = 0;
    while ((at = attributes.find("=\"", at)) != std::string::npos) {
        size_t nameStart = at;
        while (nameStart > 0 && std::isalnum(static_cast<unsigned char>(attributes[nameStart - 1])))
            --nameStart;
        const size_t valueEnd = attributes.find('"', at + 2);
        if (valueEnd == std::string::npos) break;
        out.emplace_back(attributes.substr(nameStart, at - nameStart),
                         attributes.substr(at + 2, valueEnd - at - 2));
        at = valueEnd + 1;
    }
    return out;
}

// Every tag with its name and attribute text.
std::vector<std::pair<std::string, std::string>> Tags(const std::string& html) {
    std::vector<std::pair<std::string, std::string>> tags;
    size_t at = 0;
    while ((at = html.find('<', at)) != std::string::npos) {
        const size_t end = html.find('>', at);
        if (end == std::string::npos) break;
        size_t nameEnd = at + 1;
        while (nameEnd < end && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
        tags.emplace_back(html.substr(at + 1, nameEnd - at - 1),
                          html.substr(nameEnd, end - nameEnd));
        at = end + 1;
    }
    return tags;
}

std::vector<Reference> References(const std::string& html) {
    std::vector<Reference> found;
    for (const auto& [tag, attributes] : Tags(html))
        for (const auto& [name, value] : Attributes(attributes))
            if (name == "href" || name == "src") found.push_back({tag, name, value});
    return found;
}

std::multiset<std::string> Ids(const std::string& html) {
    std::multiset<std::string> ids;
    for (const auto& tag : Tags(html))
        for (const auto& [name, value] : Attributes(tag.second))
            if (name == "id") ids.insert(value);
    return ids;
}

bool IsPng(const fs::path& path) {
    const std::string head = ReadFile(path).substr(0, 8);
    return head == std::string("\x89PNG\r\n\x1a\n", 8);
}

TEST(Manual, EveryLinkAndPictureResolves) {
    const fs::path page = kDocFolder / "index.html";
    ASSERT_TRUE(fs::exists(page)) << page;
    const std::string html = ReadFile(page);
    const std::multiset<std::string> ids = Ids(html);
    for (const std::string& id : std::set<std::string>(ids.begin(), ids.end()))
        EXPECT_EQ(ids.count(id), 1u) << "id used twice: " << id;

    const std::vector<Reference> references = References(html);
    int pictures = 0;
    for (const Reference& r : references) {
        SCOPED_TRACE("<" + r.tag + " " + r.attribute + "=\"" + r.value + "\">");
        ASSERT_FALSE(r.value.empty());
        // Nothing from elsewhere: the manual works without a network.
        EXPECT_EQ(r.value.find("//"), std::string::npos);
        EXPECT_EQ(r.value.find(':'), std::string::npos);
        const size_t hash = r.value.find('#');
        const std::string file = r.value.substr(0, hash);
        const std::string anchor = hash == std::string::npos ? "" : r.value.substr(hash + 1);
        if (!file.empty()) {
            const fs::path target = kDocFolder / file;
            EXPECT_TRUE(fs::is_regular_file(target)) << target;
            EXPECT_EQ(fs::relative(fs::weakly_canonical(target), fs::weakly_canonical(kDocFolder))
                          .string()
                          .rfind("..", 0),
                      std::string::npos)
                << "outside the manual's folder";
            if (r.tag == "img") {
                ++pictures;
                EXPECT_TRUE(IsPng(target));
            }
        }
        if (!anchor.empty()) {
            const std::string target = file.empty() ? html : ReadFile(kDocFolder / file);
            EXPECT_EQ(Ids(target).count(anchor), 1u) << "no anchor " << anchor;
        }
    }
    EXPECT_GT(pictures, 10);
    EXPECT_EQ(html.find("<script"), std::string::npos);
}

}  // namespace

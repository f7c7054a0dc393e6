#include "app/product_profile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace sc {
namespace {

struct Resolved {
    ProductProfile profile;
    int terminations = 0;
};

Resolved resolve(std::string_view title) {
    Resolved r;
    r.profile.productTitle = std::string(title);
    resolveBrand(r.profile, title, [&r] { ++r.terminations; });
    return r;
}

// "www.x.example" of "https://www.x.example/path"; empty for anything else.
std::string_view hostOf(std::string_view address) {
    constexpr std::string_view scheme = "https://";
    if (!address.starts_with(scheme)) {
        return {};
    }
    address.remove_prefix(scheme.size());
    return address.substr(0, address.find('/'));
}

TEST(BrandTable, SixBrandsEachWithItsOwnSite) {
    const auto rows = brandTable();
    ASSERT_EQ(rows.size(), 6u);
    const char* titles[] = {"Quillmark", "Tavero", "Orvelle", "Brisca", "Lumenor", "Sandrel"};
    std::set<std::string_view> sites;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(rows[i].productTitle, titles[i]);
        const std::string_view host = hostOf(rows[i].webSiteAddress);
        ASSERT_FALSE(host.empty());
        EXPECT_TRUE(host.ends_with(".example"));
        // The updates page is another page of the same site.
        EXPECT_EQ(hostOf(rows[i].updatesAddress), host);
        EXPECT_NE(rows[i].updatesAddress, rows[i].webSiteAddress);
        // The mailbox lies at the site's domain; the address carries no "mailto:".
        const std::string_view mail = rows[i].supportAddress;
        const std::size_t at = mail.find('@');
        ASSERT_NE(at, std::string_view::npos);
        EXPECT_TRUE(host == mail.substr(at + 1) ||
                    host == "www." + std::string(mail.substr(at + 1)));
        EXPECT_EQ(mail.find(':'), std::string_view::npos);
        sites.insert(host);
    }
    EXPECT_EQ(sites.size(), 6u);
}

TEST(ResolveBrand, EveryTitleFindsItsOwnRow) {
    for (const BrandRow& row : brandTable()) {
        SCOPED_TRACE(std::string(row.productTitle));
        const Resolved r = resolve(row.productTitle);
        EXPECT_EQ(r.terminations, 0);
        EXPECT_EQ(r.profile.webSiteAddress, row.webSiteAddress);
        EXPECT_EQ(r.profile.updatesAddress, row.updatesAddress);
        EXPECT_EQ(r.profile.supportAddress, row.supportAddress);
        EXPECT_EQ(r.profile.productTitle, row.productTitle);
        EXPECT_EQ(findBrand(row.productTitle), &row);
    }
    // The last row is found like any other.
    EXPECT_EQ(resolve("Sandrel").profile.webSiteAddress, brandTable()[5].webSiteAddress);
    EXPECT_EQ(resolve("Quillmark").profile.supportAddress, "support@quillmark.example");
}

TEST(ResolveBrand, OnlyTheExactBytesMatch) {
    const std::string near[] = {"quillmark",  "QUILLMARK",  " Quillmark",
                                "Quillmark ", "Quill mark", "Quillmar",
                                "Quillmarks", "",           std::string("Quillmark\0", 10)};
    for (const std::string& title : near) {
        SCOPED_TRACE(title);
        const Resolved r = resolve(title);
        EXPECT_EQ(r.terminations, 1);
        EXPECT_EQ(findBrand(title), nullptr);
        EXPECT_TRUE(r.profile.webSiteAddress.empty());
        EXPECT_TRUE(r.profile.updatesAddress.empty());
        EXPECT_TRUE(r.profile.supportAddress.empty());
    }
}

TEST(ResolveBrand, UnknownTitleLeavesNoAddressBehind) {
    ProductProfile profile{"Nobody", "https://stale.example/", "https://stale.example/u/",
                           "x@stale.example"};
    int terminations = 0;
    resolveBrand(profile, "Nobody", [&] { ++terminations; });
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(profile.webSiteAddress, "");
    EXPECT_EQ(profile.updatesAddress, "");
    EXPECT_EQ(profile.supportAddress, "");
    EXPECT_EQ(profile.productTitle, "Nobody");
    // Without a terminate action the lookup still fails quietly.
    EXPECT_NO_THROW(resolveBrand(profile, "Nobody", {}));
}

} // namespace
} // namespace sc

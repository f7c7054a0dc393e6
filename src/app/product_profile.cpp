#include "app/product_profile.h"

#include <array>

namespace sc {
namespace {

constexpr std::array<BrandRow, 6> kBrands = {{
    {"Quillmark", "https://www.quillmark.example/", "https://www.quillmark.example/updates/",
     "support@quillmark.example"},
    {"Tavero", "https://www.tavero.example/", "https://www.tavero.example/news/latest.html",
     "help@tavero.example"},
    {"Orvelle", "https://orvelle.example/", "https://orvelle.example/download/",
     "support@orvelle.example"},
    {"Brisca", "https://www.brisca.example/", "https://www.brisca.example/updates.html",
     "support@brisca.example"},
    {"Lumenor", "https://www.lumenor.example/burner/", "https://www.lumenor.example/burner/new/",
     "care@lumenor.example"},
    {"Sandrel", "https://www.sandrel.example/", "https://www.sandrel.example/upgrade/",
     "support@sandrel.example"},
}};

} // namespace

std::span<const BrandRow> brandTable() {
    return kBrands;
}

const BrandRow* findBrand(std::string_view title) {
    for (const BrandRow& row : kBrands) {
        if (row.productTitle == title) {
            return &row;
        }
    }
    return nullptr;
}

void resolveBrand(ProductProfile& profile, std::string_view title,
                  const std::function<void()>& terminate) {
    if (const BrandRow* row = findBrand(title)) {
        profile.webSiteAddress = row->webSiteAddress;
        profile.updatesAddress = row->updatesAddress;
        profile.supportAddress = row->supportAddress;
        return;
    }
    profile.webSiteAddress.clear();
    profile.updatesAddress.clear();
    profile.supportAddress.clear();
    if (terminate) {
        terminate();
    }
}

} // namespace sc

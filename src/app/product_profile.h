#pragma once
// The product brands one executable serves, and the profile of the brand it runs as.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace sc {

struct BrandRow {
    std::string_view productTitle, webSiteAddress, updatesAddress, supportAddress;
};

// The six brands, in lookup order.
std::span<const BrandRow> brandTable();

struct ProductProfile {
    std::string productTitle, webSiteAddress, updatesAddress, supportAddress;
};

// The first row whose title equals `title` byte for byte; nullptr when none does.
const BrandRow* findBrand(std::string_view title);

// Fills the three addresses from the matching row, or clears them and calls terminate()
// (when one is given).
void resolveBrand(ProductProfile& profile, std::string_view title,
                  const std::function<void()>& terminate);

} // namespace sc

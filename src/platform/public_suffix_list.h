#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

struct psl_ctx_st;

namespace hostlore {

// The Public Suffix List: which part of a name its registry hands out. Safe
// to use from any number of threads at once.
class PublicSuffixList {
  public:
    // The list Debian packages (or the library's own copy when that is newer),
    // read when first asked: many runs never need it.
    static std::shared_ptr<const PublicSuffixList> Packaged();
    // A list in the list's own text format; null when the file cannot be read.
    static std::shared_ptr<const PublicSuffixList> FromFile(const std::filesystem::path& file);

    ~PublicSuffixList();
    PublicSuffixList(const PublicSuffixList&) = delete;
    PublicSuffixList& operator=(const PublicSuffixList&) = delete;

    // The registered name that a host belongs to: its public suffix with one
    // label more ("www.bbc.co.uk" gives "bbc.co.uk"). A host that is itself a
    // public suffix comes back as it is. Only the registries' section of the
    // list counts: "x.blogspot.com" is registered as "blogspot.com". Expects a
    // host in lower case without a trailing dot.
    std::string RegistrableDomain(std::string_view host) const;

  private:
    explicit PublicSuffixList(psl_ctx_st* list) : list_(list) {}
    const psl_ctx_st* List() const;

    mutable std::once_flag read_;
    mutable psl_ctx_st* list_;
};

}  // namespace hostlore

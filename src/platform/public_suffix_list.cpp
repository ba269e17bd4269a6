#include "platform/public_suffix_list.h"

#include <libpsl.h>

namespace hostlore {

std::shared_ptr<const PublicSuffixList> PublicSuffixList::Packaged() {
    return std::shared_ptr<const PublicSuffixList>(new PublicSuffixList(nullptr));
}

const psl_ctx_st* PublicSuffixList::List() const {
    std::call_once(read_, [this] {
        if (list_ == nullptr) {
            list_ = psl_latest(nullptr);
        }
        if (list_ == nullptr) {
            list_ = const_cast<psl_ctx_t*>(psl_builtin());
        }
    });
    return list_;
}

std::shared_ptr<const PublicSuffixList> PublicSuffixList::FromFile(
    const std::filesystem::path& file) {
    psl_ctx_t* list = psl_load_file(file.c_str());
    if (list == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<const PublicSuffixList>(new PublicSuffixList(list));
}

PublicSuffixList::~PublicSuffixList() {
    // The library's built-in list is static and must not be freed.
    if (list_ != nullptr && list_ != psl_builtin()) {
        psl_free(list_);
    }
}

std::string PublicSuffixList::RegistrableDomain(std::string_view host) const {
    std::string name(host);
    // The longest suffix that is public decides; the label before it is what
    // was registered.
    std::size_t previousLabel = std::string::npos;
    std::size_t label = 0;
    while (true) {
        if (psl_is_public_suffix2(List(), name.c_str() + label, PSL_TYPE_ICANN) != 0) {
            return previousLabel == std::string::npos ? name : name.substr(previousLabel);
        }
        const std::size_t dot = name.find('.', label);
        if (dot == std::string::npos) {
            return name;
        }
        previousLabel = label;
        label = dot + 1;
    }
}

}  // namespace hostlore

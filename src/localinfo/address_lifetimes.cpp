#include "localinfo/address_lifetimes.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <vector>

namespace hostlore {

namespace {

constexpr std::uint32_t kForever = 0xFFFFFFFFu;

std::int64_t MonotonicSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec;
}

// Takes one address message apart; keeps it when its lifetime is finite.
void Note(const nlmsghdr* message, std::map<int, LeasedAddress>& leased) {
    const auto* address = static_cast<const ifaddrmsg*>(NLMSG_DATA(message));
    int length = static_cast<int>(IFA_PAYLOAD(message));
    for (const rtattr* attribute = IFA_RTA(address); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type != IFA_CACHEINFO) {
            continue;
        }
        const auto* times = static_cast<const ifa_cacheinfo*>(RTA_DATA(attribute));
        const int index = static_cast<int>(address->ifa_index);
        if (times->ifa_valid == kForever || leased.count(index) != 0) {
            continue;
        }
        const std::int64_t now = std::time(nullptr);
        // The update stamp counts hundredths of a second since the system started.
        const std::int64_t sinceUpdate = MonotonicSeconds() - times->tstamp / 100;
        leased[index] = {now - sinceUpdate, now + times->ifa_valid};
    }
}

}  // namespace

std::map<int, LeasedAddress> LeasedIpv4Addresses() {
    std::map<int, LeasedAddress> leased;
    const int socket = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (socket < 0) {
        return leased;
    }
    struct {
        nlmsghdr header;
        ifaddrmsg body;
    } request{};
    request.header.nlmsg_len = sizeof(request);
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.body.ifa_family = AF_INET;
    if (::send(socket, &request, sizeof(request), 0) < 0) {
        ::close(socket);
        return leased;
    }
    std::vector<char> buffer(1 << 16);
    for (bool done = false; !done;) {
        const ssize_t received = ::recv(socket, buffer.data(), buffer.size(), 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received <= 0) {
            break;
        }
        auto length = static_cast<unsigned>(received);
        for (const auto* message = reinterpret_cast<const nlmsghdr*>(buffer.data());
             NLMSG_OK(message, length); message = NLMSG_NEXT(message, length)) {
            if (message->nlmsg_type == NLMSG_DONE || message->nlmsg_type == NLMSG_ERROR) {
                done = true;
                break;
            }
            if (message->nlmsg_type == RTM_NEWADDR) {
                Note(message, leased);
            }
        }
    }
    ::close(socket);
    return leased;
}

}  // namespace hostlore

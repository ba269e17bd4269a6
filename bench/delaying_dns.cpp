// A DNS server for the scan benchmark: answers every reverse (PTR) question
// for a.b.c.d after a set delay with "host-a-b-c-d.delay.test", except for
// addresses whose last number is a multiple of 5, which have no name. Every
// other question gets "no such name" at once.
//
// usage: delaying_dns ADDRESS PORT DELAY_MS

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Packet = std::vector<std::uint8_t>;

struct Question {
    std::vector<std::string> labels;
    std::uint16_t type = 0;
    std::size_t end = 0;  // offset after the question
};

std::optional<Question> ReadQuestion(const Packet& query) {
    Question question;
    std::size_t at = 12;
    while (at < query.size() && query[at] != 0) {
        const std::size_t length = query[at];
        if (length > 63 || at + 1 + length > query.size()) {
            return std::nullopt;
        }
        question.labels.emplace_back(query.begin() + static_cast<long>(at) + 1,
                                     query.begin() + static_cast<long>(at + 1 + length));
        at += 1 + length;
    }
    if (at + 5 > query.size()) {
        return std::nullopt;
    }
    question.type = static_cast<std::uint16_t>((query[at + 1] << 8) | query[at + 2]);
    question.end = at + 5;
    return question;
}

void AppendName(Packet& packet, const std::string& dotted) {
    std::size_t start = 0;
    while (start <= dotted.size()) {
        std::size_t dot = dotted.find('.', start);
        if (dot == std::string::npos) {
            dot = dotted.size();
        }
        packet.push_back(static_cast<std::uint8_t>(dot - start));
        packet.insert(packet.end(), dotted.begin() + static_cast<long>(start),
                      dotted.begin() + static_cast<long>(dot));
        start = dot + 1;
    }
    packet.push_back(0);
}

// The PTR name for a question "d.c.b.a.in-addr.arpa", or nothing.
std::optional<std::string> PointerName(const Question& question) {
    const auto& l = question.labels;
    if (question.type != 12 || l.size() != 6 || l[4] != "in-addr" || l[5] != "arpa" ||
        std::atoi(l[0].c_str()) % 5 == 0) {
        return std::nullopt;
    }
    return "host-" + l[3] + "-" + l[2] + "-" + l[1] + "-" + l[0] + ".delay.test";
}

Packet Answer(const Packet& query, const Question& question,
              const std::optional<std::string>& name) {
    Packet reply(query.begin(), query.begin() + static_cast<long>(question.end));
    reply[2] = static_cast<std::uint8_t>(0x84 | (query[2] & 0x01));  // answer, authoritative, RD
    reply[3] = name ? 0x80 : 0x83;                                   // RA; no error or NXDOMAIN
    reply[4] = 0, reply[5] = 1;                                      // one question
    reply[6] = 0, reply[7] = name ? 1 : 0;
    reply[8] = reply[9] = reply[10] = reply[11] = 0;
    if (name) {
        Packet data;
        AppendName(data, *name);
        const std::uint8_t record[] = {0xC0,
                                       0x0C,
                                       0,
                                       12,
                                       0,
                                       1,
                                       0,
                                       0,
                                       0,
                                       0,
                                       static_cast<std::uint8_t>(data.size() >> 8),
                                       static_cast<std::uint8_t>(data.size())};
        reply.insert(reply.end(), std::begin(record), std::end(record));
        reply.insert(reply.end(), data.begin(), data.end());
    }
    return reply;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ADDRESS PORT DELAY_MS\n", argv[0]);
        return 2;
    }
    const int server = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[2])));
    if (::inet_pton(AF_INET, argv[1], &address.sin_addr) != 1 ||
        ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        std::perror("bind");
        return 1;
    }
    const std::chrono::milliseconds delay(std::atoi(argv[3]));
    for (;;) {
        Packet query(512);
        sockaddr_in peer{};
        socklen_t peerLength = sizeof(peer);
        const ssize_t got = ::recvfrom(server, query.data(), query.size(), 0,
                                       reinterpret_cast<sockaddr*>(&peer), &peerLength);
        if (got < 12) {
            continue;
        }
        query.resize(static_cast<std::size_t>(got));
        const auto question = ReadQuestion(query);
        if (!question) {
            continue;
        }
        const auto name = PointerName(*question);
        std::thread([=] {
            if (question->type == 12) {
                std::this_thread::sleep_for(delay);
            }
            const Packet reply = Answer(query, *question, name);
            ::sendto(server, reply.data(), reply.size(), 0,
                     reinterpret_cast<const sockaddr*>(&peer), sizeof(peer));
        }).detach();
    }
}

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// What a whois record says as values; a value the answer does not give is
// missing (an empty list for the lists). Instants are seconds since 1970 UTC.
struct WhoisFields {
    std::optional<std::string> registrar;
    std::optional<std::int64_t> created;
    std::optional<std::int64_t> updated;
    std::optional<std::int64_t> expires;
    std::vector<std::string> nameServers;  // lower case, without a final dot
    std::vector<std::string> statuses;
    std::optional<bool> dnssec;

    bool operator==(const WhoisFields&) const = default;
};

// The fields of a whois reply in the forms today's registries write: the
// gTLD registries' and registrars' keys, the national registries' own
// ("Registered on:", "[有効期限]", blocks of indented values below a key) and
// the regional address registries'. The first line of a key counts; list
// keys collect every line.
WhoisFields WhoisTextFields(std::string_view reply);

// A registry's date as seconds since 1970 UTC: ISO 8601 with or without a
// time and zone ("2001-02-03T04:05:06.7+01:00", "2001-02-03 04:05:06"),
// "2001/02/03" with "(JST)" after its time, "03-Feb-2001" and "20010203"; a
// date without a zone is taken as UTC. None for any other text.
std::optional<std::int64_t> WhoisDateSeconds(std::string_view text);

// A name server as the fields hold it: its first word, in lower case, without
// a final dot; empty for none.
std::string NameServerName(std::string_view value);

// Fills what `record` lacks from `answer`, the next server's: the first
// server that gives a value is the one that counts.
void AddMissingFields(WhoisFields& record, const WhoisFields& answer);

// A short reply in which the server refuses to answer because it has been
// asked too often ("exceeded", "limit") rather than giving a record.
bool IsRateRefusal(std::string_view reply);

}  // namespace hostlore

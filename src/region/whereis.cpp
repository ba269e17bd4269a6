#include "region/whereis.h"

#include <optional>
#include <span>

namespace hostlore {

namespace {

// The numbers a row covers, written as in a listing: "6, 18, 252-254".
struct Row {
    std::string_view numbers;
    std::string_view text;
};

// Rows keyed by the second number, for one first number.
struct Block {
    int first;
    std::span<const Row> rows;
};

constexpr std::string_view kDefaultRegion = "United States";

// First numbers whose region is decided by the second number have no row here;
// they have a block below.
constexpr Row kFirstLevel[] = {
    {"0-2", "United States"},
    {"3", "(USA)General Electric Company, NJ (NET-GE-INTERNET)"},
    {"4", "Bolt Beranek and Newman Inc. - BBN Planet, MA (NET-SATNET)"},
    {"5", "Internet Assigned Numbers Authority (IANA) (NET-RESERVED-5)"},
    {"6", "(USA)Army Information Systems Center - USAISC, Yuma Proving Ground, AZ (NET-YPG-NET)"},
    {"7", "(USA)Defense Information Systems Agency, VA (NET-DISANET2)"},
    {"8", "Bolt Beranek and Newman Inc., MA (NET-BBN-NET-TEMP)"},
    {"9", "(USA)IBM Corporation, NY (NET-IBM)"},
    {"10", "United States"},
    {"11",
     "(USA)DoD Intel Information Systems, Defense Intelligence Agency, Washington DC (NET-DODIIS)"},
    {"12", "(USA) AT&T(NET-ATT)"},
    {"13", "Xerox Palo Alto Research Center, CA (NET-XEROX-NET) "},
    {"14", "Public Data Network, US (NET-PDN)"},
    {"15", "(USA)Hewlett-Packard Company, CA (NET-HP-INTERNET)"},
    {"16", "Digital Equipment Corporation (NET-DEC-INTERNET)"},
    {"17", "(USA)Apple Computer Inc., CA (NET-APPLE-WWNET)"},
    {"18", "Massachusetts Institute of Technology, MA (NET-MIT-TEMP)"},
    {"19", "Ford Motor Company, MI (NET-FINET)"},
    {"20", "Computer Sciences Corporation, VA (NET-CSC)"},
    {"21", "US Defense Information Systems Agency (DDN-RVN), VA (NET-DDN-RVN)"},
    {"22", "Defense Information Systems Agency, Washington DC (NET-DISNET))"},
    {"23", "IANA (reserved) (NET-DDN-TC-NET) (RESERVED-23)"},
    {"24", "United States"},
    {"25", "Royal Signals and Radar Establishment, UK (NET-RSRE-EXP)"},
    {"26", "Defense Information Systems Agency, VA (NET-MILNET)"},
    {"27", "United States"},
    {"28", "ARPA DSI JPO, VA (NET-DSI-NORTH)"},
    {"29", "Defense Information Systems Agency, Washington DC (NET-MILX25-TEMP)"},
    {"30", "Defense Information Systems Agency, Washington DC (NET-ARPAX25-TEMP)"},
    {"31", "IANA (RESERVED-12)"},
    {"32", "IBM Global Services, NH (NETBLK-IBMGLOBALSERV)"},
    {"33", "DLA Systems Automation Center, OH (NET-DCMC)"},
    {"34", "Halliburton Company, TX (NET-HALLIBURTON)"},
    {"35", "MERIT Network Inc., MI (NET-MERIT)"},
    {"36", "Stanford University, CA (NET-SU-NET-TEMP)"},
    {"37", "United States"},
    {"38", "Performance Systems International, VA (NET-PSINETA)"},
    {"39", "United States"},
    {"40", "Eli Lilly and Company, IN (NET-LILLY-NET)"},
    {"41-42", "United States"},
    {"43", "Japan Inet, Japan (NET-JAPAN-A)"},
    {"44", "Amateur Radio Digital Communications (NET-AMPRNET)"},
    {"45", "Interop Show Network, CA (NET-SHOWNETA)"},
    {"46", "Bolt Beranek and Newman Inc., MA (NET-BBNNET)"},
    {"47", "Canada (Bell-Northern Research)"},
    {"48", "Prudential Securities Inc., NY (NET-PRUBACHE)"},
    {"49", "Joint Tactical Command, Control, and Communications Agency, AZ (NET-JITCNET1)"},
    {"50", "Joint Tactical Command, Control, and Communications Agency, AZ (NET-JITCNET2)"},
    {"51", "Great Britain(Department of Social Security of UK)"},
    {"52-53", "Germany"},
    {"54", "Merck and Co., Inc., NJ (NET-MERCK2)"},
    {"55", "Army National Guard Bureau, VA (NET-RCAS2)"},
    {"56", "United States"},
    {"57", "France"},
    {"58-60", "United States"},
    {"63-191", "United States"},
    {"196", "South Africa/Caribbean"},
    {"197", "IANA (NETBLK-RESERVED-13)"},
    {"198", "United States"},
    {"199", "United States/Canada"},
    {"201", "Reserved for South/Central American Networks"},
    {"204-209", "United States"},
    {"214-215", "DoD Network Information Center, VA (NETBLK-DDN-NIC15)"},
    {"216", "United States"},
    {"218", "Asia Pacific"},
    {"219-222", "United States"},
    {"223", "IANA (RESERVED-5) RESERVED"},
    {"224-239", "University of Southern California (NET-MCAST-NET)"},
    {"240-255", "United States"},
};

constexpr Row kBlock61[] = {
    {"8", "Australia"},
    {"128", "China"},
};

constexpr Row kBlock62[] = {
    {"0", "Israel"},
    {"2, 32, 48", "Switzerland"},
    {"4, 8, 160-161", "France"},
    {"6, 18, 28, 56, 60, 124, 136, 148, 172, 188, 232, 252-254", "Great Britain"},
    {"10-11, 212", "Italy"},
    {"12, 100, 108, 216", "Netherlands"},
    {"16, 244", "Ukraine"},
    {"20", "Sweden"},
    {"22, 36, 81-82", "Spain"},
    {"24, 40, 52, 68, 72, 96, 104, 128, 132, 140, 144, 152, 156-157, 159, 180, 192, 208, 220, 240",
     "Germany"},
    {"44", "Czech Republic"},
    {"64, 76", "Russian Federation"},
    {"84", "Latvia"},
    {"88, 116", "Austria"},
    {"92", "Norway"},
    {"112", "Belgium"},
    {"164", "Spain/Great Britain"},
    {"168", "Czech Republic/Slovakia"},
    {"176", "Slovakia"},
    {"184-186, 200", "European"},
    {"204", "Belgium/Germany/Netherlands"},
    {"229", "Switzerland/Czech Republic/Portugal/Netherlands/Spain"},
    {"236", "Finland"},
    {"248", "Turkey"},
};

constexpr Row kBlock192[] = {
    {"36, 44, 71, 121, 165, 176", "Sweden"},
    {"37", "Switzerland"},
    {"38", "Danish"},
    {"50-51, 218, 244", "Japan"},
    {"66", "Danmark"},
    {"89, 126, 130, 163, 194", "Finland"},
    {"93, 134, 140-145, 196", "France"},
    {"109, 125, 129, 166", "Germany"},
    {"113", "Netherlands"},
    {"114-118", "Israeli"},
    {"162, 164", "European"},
    {"167", "Italty"},
    {"192", "China"},
    {"219", "Canada"},
};

constexpr Row kBlock193[] = {
    {"1, 120, 178", "Ireland"},
    {"2, 77, 138", "Slovenia"},
    {"3, 88-89, 162-163", "Denmark"},
    {"4", "Iceland"},
    {"5, 8, 47, 72-73, 134, 222-223, 246-247", "Switzerland"},
    {"6, 224-226", "Hungary"},
    {"7, 15-31, 96-103, 141, 155, 158-159, 174-175, 196-197", "Germany"},
    {"10, 12-14, 44-45, 180-183, 234-235, 241", "Sweden"},
    {"32-39, 60-63, 84, 112-119, 122-123, 128-133, 189, 240", "Great Britain"},
    {"40", "Estonia"},
    {"42-43, 70, 76, 204-207", "Italy"},
    {"46, 80-83, 154, 170-171, 186-187, 228", "Austria"},
    {"48-52, 54-57, 64-66, 104-107, 139, 252-253", "France"},
    {"53, 58, 74, 121, 190-191", "Belgium"},
    {"59", "Poland"},
    {"67, 78-79, 172-173, 176-177", "Netherlands"},
    {"68, 200", "Bulgaria"},
    {"69, 71, 90, 156-157, 160-161, 211-217", "Norway"},
    {"75", "Belgium/Norway"},
    {"85-86, 165, 179", "Czech Republic"},
    {"87", "Slovak Republic"},
    {"91", "Hungary/Belgium/Norway"},
    {"92", "Greece"},
    {"93", "Luxembourg"},
    {"94, 142-143, 166-167, 184-185, 199, 209-210, 229", "Finland"},
    {"95", "Tunisia/Slovenia/Ireland"},
    {"124-125, 232-233", "Russian Federation"},
    {"126, 135-136, 236", "Portugal"},
    {"127", "PSpain"},
    {"140, 255", "Turkey"},
    {"144-148", "Spain"},
    {"164", "Netherlands/Poland/Great Britain"},
    {"168", "Luxembourg/Germany"},
    {"192-194, 202-203, 218, 220-221, 227, 242, 254", "European"},
    {"198", "Croatia"},
    {"208", "Finland/Sweden"},
    {"219", "Lithuania/Portugal/Sweden"},
    {"230-231", "Romania"},
    {"243", "Turkey/Great Britain"},
    {"248", "Norway/France"},
};

constexpr Row kBlock194[] = {
    {"1, 160", "Slovak Republic"},
    {"2-5, 51, 57, 98, 146, 150, 167, 199, 214, 250, 254", "France"},
    {"6", "Great Britain/France/Switzerland"},
    {"7, 78", "Belgium"},
    {"9", "Ireland/Hungary/Denmark"},
    {"11, 29, 40, 56, 124, 147-148, 191, 209, 230", "Switzerland"},
    {"13, 26, 53, 104, 109, 134, 151, 171, 178, 229", "Netherlands"},
    {"14, 16-18, 22-23, 47, 68, 71, 103, 132, 218, 236-237", "Sweden"},
    {"15, 25, 39, 45, 49, 55, 59, 64, 76-77, 94-95, 97, 99, 113, 115, 120-123, 127, 138-139, 156, "
     "162-163, 172-176, 180, 195, 221, 231, 233, 245-246",
     "Germany"},
    {"20-21, 28, 91, 116, 166, 184-185, 243-244", "Italy"},
    {"24", "Hungary/Germany/Czech Republic"},
    {"27", "Turkey"},
    {"30-31", "Spain/Cyprus/Greece"},
    {"32-36, 46, 60-63, 66, 70, 72-75, 80-83, 101-102, 128-131, 153, 155, 159, 164, 168-169, 189, "
     "193, 200-203, 205, 207, 216-217, 223, 227, 238",
     "Great Britain"},
    {"37, 48, 96, 107, 118, 208, 232", "Austria"},
    {"38", "Sweden/Switzerland/Hungary/Portugal"},
    {"41-42, 69, 79, 88, 106, 117, 119, 126, 133, 140, 143, 145, 149, 152, 154, 158, 161, 165, "
     "177, 183, 194, 196, 204, 210, 213, 234-235, 247, 253",
     "European"},
    {"44", "Ukraine"},
    {"50, 108, 212, 228", "Czech Republic"},
    {"52", "Sweden/Norway"},
    {"54", "European/Asia"},
    {"58, 84-85, 87, 135, 186, 190, 226", "Russian Federation"},
    {"65", "Portugal"},
    {"67", "Russian Federation/Kazachstan/Belarus/Georgia"},
    {"86, 89, 100, 110-111, 136-137, 142, 157, 188, 197, 211, 215, 240-241, 251-252", "Finland"},
    {"90", "Israel"},
    {"92, 181", "Poland"},
    {"93", "Great Britain/Ukraine"},
    {"105", "Great Britain/Ireland/Belgium/Iceland"},
    {"112", "Germany/Austria"},
    {"114", "Germany/Sweden"},
    {"125", "Ireland"},
    {"141", "Bulgaria"},
    {"144", "Iceland"},
    {"170", "United Arab Emirates"},
    {"179", "Spain/Italy"},
    {"182, 192, 239, 255", "Denmark"},
    {"187, 248", "Norway"},
    {"198", "Germany/Norway"},
    {"206", "France/Switzerland"},
    {"219", "Greece"},
    {"220", "Russian Federation/Ukraine"},
    {"224", "Spain"},
    {"225", "Iran"},
    {"242", "Italy/Great Britain/France"},
    {"249", "Slovenia"},
};

constexpr Row kBlock195[] = {
    {"0", "Belgium/Norway"},
    {"1, 69, 119, 139, 159, 204, 225", "Norway"},
    {"2, 7-8, 10, 12, 14, 16, 22, 24, 26, 38, 43, 46, 50-51, 54, 61-62, 64, 66, 70, 72, 74-80, 82, "
     "90, 94-99, 110, 112, 118, 121-122, 129-130, 134, 138, 144, 146, 158, 162, 170, 178, 182-184, "
     "190, 200, 202-203, 206, 210, 212, 216, 218, 222, 226, 230, 238, 242, 244, 246, 248, 252",
     "European"},
    {"3, 6, 25, 42, 68, 83, 101, 115, 132, 154, 220-221", "France"},
    {"4, 21, 27-28, 30, 35, 37, 52, 63, 71, 73, 88, 124-127, 143, 145, 177, 180, 185, 189, 211, "
     "214, 227, 243, 245, 247, 250, 253-254",
     "Germany"},
    {"5, 123", "Ukraine"},
    {"9, 19, 34, 58, 131, 133, 151, 161, 201, 208-209, 240", "Russian Federation"},
    {"11, 20, 33, 40, 44, 59-60, 92, 102, 104-107, 147, 152-153, 157, 166, 171-173, 188, 194-195, "
     "217, 224",
     "Great Britain"},
    {"13", "Belgium/Great Britain/Latvia"},
    {"15, 48-49, 65, 141, 160, 176, 186", "Switzerland"},
    {"17, 67, 84, 100, 163, 196, 198", "Sweden"},
    {"18", "Italy/Russian Federation/Netherlands/Norway"},
    {"23", "Portugal"},
    {"29", "Croatia"},
    {"31, 36, 45, 103, 120, 191, 223, 233", "Italy"},
    {"32, 135", "Italy/Germany"},
    {"39, 47, 113", "Czech Republic"},
    {"41, 85, 181, 192, 215, 231, 234, 249", "Denmark"},
    {"53, 55, 57, 235", "Spain"},
    {"56, 111, 199, 228", "Hungary"},
    {"81, 86, 108-109, 169, 193, 241", "Netherlands"},
    {"87, 142, 155, 174-175", "Turkey"},
    {"89", "Great Britain/Switzerland"},
    {"91", "Slovak Republic/Russian Federation"},
    {"93", "Germany/Great Britain"},
    {"114, 168", "Slovak Republic"},
    {"116-117, 136, 150, 164, 187, 205", "Poland"},
    {"128", "Saudi Arabia/Russian Federation"},
    {"137", "Great Britain/Italy"},
    {"140, 207", "Belgium"},
    {"148, 156, 165, 197, 236-237, 255", "Finland"},
    {"149", "Great Britain/Sweden"},
    {"167", "Greece/Great Britain"},
    {"179", "Germany/Romania"},
    {"213", "Ireland"},
    {"219", "Great Britain/France/Germany"},
    {"229", "United Arab Emirates"},
    {"232", "Great Britain/Germany"},
    {"251", "Greece"},
};

constexpr Row kBlock200[] = {
    {"0-16, 21-24, 27, 29-32, 39-41, 45, 48-51", "South/Central American"},
    {"17-20", "Brazilian"},
    {"25", "Columbia"},
    {"26, 42-43, 47", "Argentina"},
    {"28", "Chilean"},
    {"33-38, 52", "Mexico"},
    {"46", "Panama"},
    {"128-255", "Brazil"},
};

constexpr Row kBlock202[] = {
    {"0-8, 12, 14, 20-21, 40-64, 123-140, 160-183", "Asia-Pacific"},
    {"9", "Australia/Malaysia"},
    {"10", "Australia"},
    {"11, 15-19, 23-26, 32-35, 208-255", "Japan"},
    {"13", "New Zealand"},
    {"22", "New Zealand/Thailand/Japan/China"},
    {"28-29, 36-37", "Thailand"},
    {"30-31", "Korea (South)"},
    {"38, 90-122, 192-207", "China"},
    {"39, 145", "Taiwan"},
    {"65-89", "Hong Kong"},
    {"141-144, 146-159", "Indonesia"},
    {"184-191", "Malaysia"},
};

constexpr Row kBlock203[] = {
    {"0-63, 100-104, 142-143", "Australia"},
    {"64-79", "Taiwan"},
    {"80-86", "Hong Kong"},
    {"87-95, 105-115, 121-135, 163-167, 184-223", "Asia-Pacific"},
    {"96-99", "New Zealand"},
    {"116-120", "Singapore"},
    {"136-141, 178-183", "Japan"},
    {"144-158", "Thailand"},
    {"160-162", "Vietnam"},
    {"168-177", "Philippines"},
    {"224-255", "Korea (South)"},
};

constexpr Row kBlock210[] = {
    {"0-24, 184-186", "Asia-Pacific"},
    {"25-53, 72-79", "China"},
    {"54-55", "New Zealand"},
    {"56", "Pakistan"},
    {"57, 87, 176-177", "Hong kong"},
    {"58-71, 200-201, 208-209, 240-244", "Taiwan"},
    {"81, 88, 128-175, 188-199, 224-239, 245-255", "Japan"},
    {"90-127, 178-183, 204-207, 216-223", "Korea (South)"},
    {"210-212, 214", "India"},
    {"215", "Australia"},
};

constexpr Row kBlock211[] = {
    {"0-19", "Japan"},
    {"20-23, 70-79", "Taiwan"},
    {"32-39", "Korea (South)"},
    {"64-69, 80-255", "China"},
};

constexpr Row kBlock212[] = {
    {"0-5, 7-9, 11-60, 62-127, 133", "European"},
    {"6", "Russian Federation/Germany"},
    {"10, 130, 237, 242", "Denmark"},
    {"61, 142, 153, 178, 187, 189, 203, 206, 238", "Netherlands"},
    {"128, 145, 163, 170, 231", "Spain"},
    {"129, 155, 157, 180, 194, 198, 208, 232, 234, 241", "France"},
    {"131, 136, 141, 171, 177, 210, 216, 239, 245", "Italy"},
    {"132, 134-135, 137, 139-140, 148, 159, 169, 173, 196, 207, 211-212, 219, 225, 228, 240, 250",
     "Great Britain"},
    {"138", "Saudi Arabia"},
    {"143, 150, 179, 199, 235", "Israel"},
    {"144, 149, 184-185, 201-202, 218, 222-224, 227, 255", "Germany"},
    {"146, 213, 226, 246", "Finland"},
    {"147, 215, 243, 249, 254", "Switzerland"},
    {"151, 181, 209, 214, 247", "Sweden"},
    {"152", "Switzerland/Austria"},
    {"154", "Turkey/Kazachstan"},
    {"156, 174-175, 252", "Turkey"},
    {"158", "Great Britain/Russian Federation"},
    {"160, 182, 191, 244", "Poland"},
    {"161", "Great Britain/Switzerland"},
    {"162", "Germany/Saudi Arabia"},
    {"164, 176, 188, 192-193, 200, 220, 248", "Russian Federation"},
    {"165, 183, 236", "Austria"},
    {"166, 190, 221, 233", "Belgium"},
    {"172", "Germany/Italy"},
    {"186", "Austria/Norway"},
    {"197", "Slovak Republic"},
    {"204", "Germany/Netherlands"},
    {"205, 251", "Greece"},
    {"217", "Morocco"},
};

constexpr Row kBlock213[] = {
    {"0, 4, 37, 52, 60, 94, 98-99, 201, 211, 227", "Spain"},
    {"1-2, 5, 12, 18, 38, 48, 55, 81, 86, 104, 106-107, 120-123, 143, 206, 219, 235, 253",
     "Great Britain"},
    {"3", "Switzerland/Liechtenstein"},
    {"6, 216", "Germany/Great Britain"},
    {"7, 9, 20-21, 23, 54, 61, 68-69, 72-73, 79, 83, 95, 214, 217-218, 252", "Germany"},
    {"8", "Israel"},
    {"10, 17, 34-35, 46, 51, 53, 57, 75, 84, 93, 124-127, 197, 207, 222, 251", "Netherlands"},
    {"11, 16, 19, 36, 41, 44, 56, 78, 91, 193, 195, 215, 223, 245", "France"},
    {"13, 22, 30, 58, 63", "Portugal"},
    {"14, 43, 74, 243", "Turkey"},
    {"15, 239", "Switzerland"},
    {"24, 59, 85, 87, 221, 242", "Russian Federation"},
    {"25, 76-77, 96, 231, 241", "Poland"},
    {"26, 45, 82, 92, 199, 205, 209, 213, 233, 246, 254-255", "Italy"},
    {"28", "Finland"},
    {"29", "Iran"},
    {"32, 237", "Denmark"},
    {"33, 47, 90, 208, 225, 229", "Austria"},
    {"39", "France/Switzerland"},
    {"42", "United Arab Emirates"},
    {"49, 224", "Belgium"},
    {"50, 80, 88-89, 100, 112, 115", "Sweden"},
    {"62, 116, 128-142, 144-191", "European"},
    {"105", "Great Britain/Ireland"},
    {"192", "Italy/Finland"},
    {"194", "Netherlands/Spain"},
    {"196", "Netherlands/Switzerland"},
    {"198", "Germany/Italy"},
    {"200", "Switzerland/Sweden"},
    {"202", "Turkey/Ireland"},
    {"203", "Norway"},
    {"204", "Italy/Sweden"},
    {"210", "Bulgaria/Czech Republic"},
    {"212", "Sweden/Italy"},
    {"220", "Spain/Great Britain"},
    {"226", "Bulgaria/Lithuania"},
    {"228", "France/Portugal"},
    {"230", "Saudi Arabia/Italy"},
    {"232", "Turkey/Switzerland"},
    {"234", "Spain/Italy"},
    {"236", "Spain/Norway"},
    {"238", "Saudi Arabia"},
    {"240", "Yugoslavia/Germany"},
    {"244", "France/Netherlands"},
    {"247", "Egypt"},
    {"248", "Russian Federation/Turkey"},
    {"249", "Greece"},
    {"250", "Slovenia/Spain"},
};

constexpr Row kBlock217[] = {
    {"5-6, 48-52, 89", "Germany"},
    {"8-31, 64-79, 112-119, 140", "European"},
    {"32-33, 137", "Great Britain"},
    {"56-59", "Italy"},
    {"60", "Denmark"},
    {"96-97", "Poland"},
    {"106", "Russian Federation"},
    {"130", "Spain"},
    {"138", "Malta"},
    {"142", "Sweden"},
};

constexpr Block kSecondLevel[] = {
    {61, kBlock61},   {62, kBlock62},   {192, kBlock192}, {193, kBlock193}, {194, kBlock194},
    {195, kBlock195}, {200, kBlock200}, {202, kBlock202}, {203, kBlock203}, {210, kBlock210},
    {211, kBlock211}, {212, kBlock212}, {213, kBlock213}, {217, kBlock217},
};

// A field of plain decimal digits; anything else is no number.
std::optional<int> DecimalField(std::string_view field) {
    if (field.empty() || field.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool RowCovers(std::string_view numbers, int value) {
    while (!numbers.empty()) {
        const auto comma = numbers.find(',');
        std::string_view item = numbers.substr(0, comma);
        numbers.remove_prefix(comma == std::string_view::npos ? numbers.size() : comma + 1);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        const auto dash = item.find('-');
        const int low = *DecimalField(item.substr(0, dash));
        const int high =
            dash == std::string_view::npos ? low : *DecimalField(item.substr(dash + 1));
        if (value >= low && value <= high) {
            return true;
        }
    }
    return false;
}

const Row* Lookup(std::span<const Row> rows, int value) {
    for (const Row& row : rows) {
        if (RowCovers(row.numbers, value)) {
            return &row;
        }
    }
    return nullptr;
}

RegionMatch Matched(const Row* row, std::string block, std::string_view key) {
    if (row == nullptr) {
        return {std::string(kDefaultRegion), std::move(block), {}};
    }
    return {std::string(row->text), std::move(block), std::string(key) + std::string(row->numbers)};
}

}  // namespace

RegionMatch RegionMatchOf(std::string_view text) {
    const auto firstDot = text.find('.');
    if (firstDot == std::string_view::npos) {
        return Matched(nullptr, {}, {});
    }
    const std::string_view rest = text.substr(firstDot + 1);
    const auto secondDot = rest.find('.');
    const auto first = DecimalField(text.substr(0, firstDot));
    if (!first || *first > 255) {
        return Matched(nullptr, {}, {});
    }
    const std::string firstText = std::to_string(*first);
    for (const Block& block : kSecondLevel) {
        if (block.first != *first) {
            continue;
        }
        const auto second = secondDot == std::string_view::npos
                                ? std::nullopt
                                : DecimalField(rest.substr(0, secondDot));
        if (!second || *second > 255) {
            return Matched(nullptr, firstText + ".0.0.0/8", {});
        }
        return Matched(Lookup(block.rows, *second),
                       firstText + "." + std::to_string(*second) + ".0.0/16", firstText + ".");
    }
    return Matched(Lookup(kFirstLevel, *first), firstText + ".0.0.0/8", {});
}

std::string region_of_address(std::string_view text) {
    return RegionMatchOf(text).region;
}

}  // namespace hostlore

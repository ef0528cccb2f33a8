#pragma once
// The two DNS messages the mailer needs (RFC 1035): an MX query, and the reader of its reply.
// The reader trusts nothing in the reply: every length, count and name pointer is checked
// against the reply's own bytes, so no reply can make it read outside them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

namespace mail {

// A DNS exchange that failed: a bad name, a reply that does not fit the query, an error code.
class DnsError : public platform::Error {
 public:
  using Error::Error;
};

inline constexpr uint16_t kTypeMx = 15;
inline constexpr uint16_t kClassIn = 1;

// A standard recursive query (RD set) for the MX records of domain. A trailing dot is allowed;
// an empty label, a label over 63 bytes or a name over 255 bytes raises DnsError.
std::string BuildMxQuery(uint16_t id, std::string_view domain);

// Whether reply answers the query with this id but was cut short to fit a UDP datagram (the
// TC flag): the whole answer must then be asked for over TCP.
bool IsTruncatedReply(std::string_view reply, uint16_t id);

// The exchange names of the reply's MX answer records, in the order the reply lists them
// (preferences are not looked at). Raises DnsError when the reply is too short, is not a
// reply to a query with this id and question, carries an error code, or holds a malformed
// record or name.
std::vector<std::string> ParseMxReply(std::string_view reply, uint16_t id, std::string_view domain);

}  // namespace mail

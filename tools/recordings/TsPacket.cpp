#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {

TsPacket ParseTsPacket(const std::uint8_t* packet) {
  TsPacket result;
  result.TransportError = (packet[1] & 0x80) != 0;
  result.PayloadUnitStart = (packet[1] & 0x40) != 0;
  result.Pid = static_cast<std::uint16_t>((packet[1] & 0x1F) << 8 | packet[2]);
  result.ContinuityCounter = packet[3] & 0x0F;
  const unsigned adaptationControl = (packet[3] >> 4) & 0x03;
  result.HasPayload = (adaptationControl & 0x01) != 0;
  if (!result.HasPayload) return result;
  // With an adaptation field its length byte comes first, then the field, then the payload.
  const std::size_t payloadStart = adaptationControl == 0x03 ? 5u + packet[4] : 4u;
  if (payloadStart < kTsPacketSize) result.Payload = {packet + payloadStart, kTsPacketSize - payloadStart};
  return result;
}

}  // namespace tolv::recordings

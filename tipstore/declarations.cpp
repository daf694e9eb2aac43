// The tip file declarations as data, their record buffers and file objects.
#include "tipstore/declarations.h"

#include <span>

#include "state/state.h"

namespace vistip {
namespace {

std::span<std::byte> Bytes(void* p, size_t n) {
  return {static_cast<std::byte*>(p), n};
}

template <class B>
std::vector<std::span<std::byte>> Memos(B& b) {
  return {Bytes(&b.HELPTIP, sizeof b.HELPTIP), Bytes(&b.SETTINGS, sizeof b.SETTINGS),
          Bytes(&b.OTHER, sizeof b.OTHER)};
}

// The three keys shared by both layouts: fields 0 = procedure, 1 = control, 2 = type.
std::vector<rt::KeyDecl> TipKeys(const std::string& prefix) {
  return {{prefix + ":PROCEDURENAMEKEY", {0, 1}},
          {prefix + ":CONTROLTYPEKEY", {2}},
          {prefix + ":CONTROLNAMEKEY", {1, 0}}};
}

}  // namespace

rt::FileDecl TipFileDecl(const char* label) {
  const std::string p = label;
  rt::FileDecl d;
  d.label = p;
  d.record_size = kTipRecordSize;
  d.fields = {{p + ":PROCEDURENAME", rt::FieldType::kString, 0, 50},
              {p + ":CONTROLNAME", rt::FieldType::kString, 50, 50},
              {p + ":CONTROLTYPE", rt::FieldType::kString, 100, 20},
              {p + ":LASTEDITDATE", rt::FieldType::kLong, 120, 4},
              {p + ":READONLY", rt::FieldType::kByte, 124, 1},
              {p + ":ARCHIVE", rt::FieldType::kByte, 125, 1},
              {p + ":TIPSTYLE", rt::FieldType::kByte, 126, 1}};
  d.keys = TipKeys(p);
  d.memos = {{p + ":HELPTIP", 10000}, {p + ":SETTINGS", 10000}, {p + ":OTHER", 1000}};
  return d;
}

rt::FileDecl OldTipFileDecl() {
  rt::FileDecl d;
  d.label = "VTG";
  d.record_size = kOldTipRecordSize;
  d.fields = {{"VTG:PROCEDURENAME", rt::FieldType::kString, 0, 50},
              {"VTG:CONTROLNAME", rt::FieldType::kString, 50, 50},
              {"VTG:CONTROLTYPE", rt::FieldType::kString, 100, 20},
              {"VTG:HELPTIP", rt::FieldType::kString, 120, 900},
              {"VTG:SETTINGS", rt::FieldType::kString, 1020, 1500}};
  d.keys = TipKeys("VTG");
  return d;
}

TipBuffer VTH;
TipBuffer LIN;
OldTipBuffer VTG;

DeclaredFile VISTIP(TipFileDecl("VTH"), Bytes(&VTH, kTipRecordSize), Memos(VTH),
                    [] { return GLO.VTAPPNAME.clip(); });
DeclaredFile LINKTIP(TipFileDecl("LIN"), Bytes(&LIN, kTipRecordSize), Memos(LIN),
                     [] { return GLO.VTAPPNAME.clip(); });
DeclaredFile VISTIPOLD(OldTipFileDecl(), Bytes(&VTG, kOldTipRecordSize), {},
                       [] { return GLO.VTAPPNAMEOLD.clip(); });

int16_t StoredWidth(const rt::String<1000>& other) {
  const auto lo = static_cast<uint8_t>(other.data()[0]);
  const auto hi = static_cast<uint8_t>(other.data()[1]);
  return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

void SetStoredWidth(rt::String<1000>& other, int16_t width) {
  const auto u = static_cast<uint16_t>(width);
  other.data()[0] = static_cast<char>(u & 0xFF);
  other.data()[1] = static_cast<char>(u >> 8);
}

}  // namespace vistip

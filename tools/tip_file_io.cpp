// Reading and writing whole tip files through the VISTIP declaration.
#include "tools/tip_file_io.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "runtime/errors.h"
#include "state/state.h"

namespace vistip {
namespace {

using TipKey = std::tuple<std::string, std::string, std::string>;

TipKey KeyOf(const TipText& t) {
  return {t.procedure, t.control, t.type};
}

// What stands at `name` instead of a file the driver could open for `writing`.
std::string Cause(const std::string& name, int32_t code, bool writing) {
  struct stat st {};
  const bool exists = stat(name.c_str(), &st) == 0;
  switch (code) {
    case rt::kFileNotFound:
      return "no such file";
    case rt::kPathNotFound:
      return "its directory does not exist";
    case rt::kInvalidFile:
      return "not a usable file name";
    case rt::kAccessDenied:
      if (exists && S_ISDIR(st.st_mode)) return "a directory, not a tip file";
      if (exists && !S_ISREG(st.st_mode)) return "not a regular file";
      return writing ? "cannot be written (a read-only file, directory or medium, or another "
                       "program has it open exclusively)"
                     : "cannot be read (no permission, or another program has it open "
                       "exclusively)";
    case rt::kFileLocked:
      return "another program is writing to it and held it locked past the wait";
    case rt::kKeyInvalid:
      return "damaged: a key no longer matches the records";
    case rt::kLayoutMismatch:
      return exists && st.st_size == 0 ? "an empty file, not a tip file" : "not a tip file";
    case rt::kDriverError: {
      const std::string source = rt::FileErrorCode();
      const int sqlite = std::atoi(source.c_str());
      if ((sqlite & 0xFF) == 11) return "damaged";         // SQLITE_CORRUPT
      if ((sqlite & 0xFF) == 26) return "not a tip file";  // SQLITE_NOTADB
      return writing ? "cannot be written" : "cannot be read";
    }
    default:
      return writing ? "cannot be written" : "cannot be read";
  }
}

// "<file>: <cause>: <detail>" for the failure the error state holds now.
std::string Failure(const std::string& name, int32_t code, bool writing) {
  return name + ": " + Cause(name, code, writing) + ": " + ErrorDetail();
}

// Fills `r` for an OPEN of VISTIP that failed with `code`. A file that is not of this layout is
// tried with the old declaration, to tell an old tip file from others.
void DescribeOpenFailure(const std::string& name, int32_t code, bool writing, TipFileResult& r) {
  r.code = code;
  r.error = Failure(name, code, writing);
  if (code != rt::kLayoutMismatch) return;
  GLO.VTAPPNAMEOLD = name;
  if (VISTIPOLD.Open(rt::kOpenReadShared) == 0) {
    VISTIPOLD.Close();
    r.old_layout = true;
    r.error = name + ": a tip file of the old layout; convert it first with `vistip upgrade`";
  }
}

// Opens VISTIP read-only on an existing file; on a failure fills `r`.
bool OpenForReading(const std::string& name, TipFileResult& r) {
  GLO.VTAPPNAME = name;
  const int32_t code = VISTIP.Open(rt::kOpenReadShared);
  if (code != 0) DescribeOpenFailure(name, code, false, r);
  return code == 0;
}

// Hands every record of the open VISTIP to `each`, through one TipText reused for all.
bool ReadOpenFile(const std::string& name, const std::function<void(const TipText&)>& each,
                  TipFileResult& r) {
  TipText tip;
  const int32_t code = VISTIP.Scan([&](const rt::StoredRecord& row) {
    FromStored(row, tip);
    each(tip);
  });
  if (code == 0) return true;
  r.code = code;
  r.error = Failure(name, code, false);
  return false;
}

// Which record of the file each tip of the text goes to, and what happens to each record.
struct Plan {
  static constexpr int64_t kKeep = -1, kDelete = -2;
  std::vector<int64_t> record_gets;  // per record in record order: a tip's index, kKeep, kDelete
  std::vector<size_t> adds;          // the tips added at the end, in text order
};

// The n-th tip of the text with some procedure, control and type goes to the n-th record of the
// file with them (kReplace, kSync); the rest are added. kSync deletes the records left over.
Plan MakePlan(const std::vector<TipText>& records, const std::vector<TipText>& tips, TipWrite how,
              TipWriteResult& r) {
  Plan plan;
  plan.record_gets.assign(records.size(), Plan::kKeep);
  std::map<TipKey, std::deque<size_t>> left;
  for (size_t i = 0; i < records.size(); ++i) left[KeyOf(records[i])].push_back(i);
  for (size_t j = 0; j < tips.size(); ++j) {
    std::deque<size_t>& same = left[KeyOf(tips[j])];
    if (how == TipWrite::kAdd) {
      if (!same.empty()) r.duplicates.push_back(TipTitle(tips[j]));
      same.push_back(records.size());  // a tip of this text: the next one is a duplicate too
      plan.adds.push_back(j);
    } else if (same.empty()) {
      plan.adds.push_back(j);
    } else {
      plan.record_gets[same.front()] = static_cast<int64_t>(j);
      same.pop_front();
    }
  }
  if (how == TipWrite::kSync) {
    for (const auto& [key, indexes] : left)
      for (size_t i : indexes) plan.record_gets[i] = Plan::kDelete;
  }
  for (size_t i = 0; i < records.size(); ++i) {
    const int64_t gets = plan.record_gets[i];
    if (gets == Plan::kDelete) {
      r.changes.push_back({TipChange::kDeleted, TipTitle(records[i])});
      ++r.deleted;
    } else if (gets >= 0 && !(tips[static_cast<size_t>(gets)] == records[i])) {
      r.changes.push_back({TipChange::kUpdated, TipTitle(records[i])});
      ++r.updated;
    } else {
      plan.record_gets[i] = Plan::kKeep;
      ++r.unchanged;
    }
  }
  for (size_t j : plan.adds) r.changes.push_back({TipChange::kAdded, TipTitle(tips[j])});
  r.added = plan.adds.size();
  return plan;
}

// Carries out the plan inside the open batch: rewrites and deletes in one pass in record order,
// then the additions. 0, or the code of the statement that failed.
int32_t Apply(const Plan& plan, const std::vector<TipText>& tips) {
  size_t last = plan.record_gets.size();
  while (last > 0 && plan.record_gets[last - 1] == Plan::kKeep) --last;
  if (last > 0 && VISTIP.Set() != 0) return rt::ErrorCode();
  for (size_t i = 0; i < last; ++i) {
    if (const int32_t code = VISTIP.Next(); code != 0) return code;
    const int64_t gets = plan.record_gets[i];
    if (gets == Plan::kDelete) {
      if (const int32_t code = VISTIP.Delete(); code != 0) return code;
    } else if (gets >= 0) {
      ToBuffer(tips[static_cast<size_t>(gets)], VTH);
      if (const int32_t code = VISTIP.Put(); code != 0) return code;
    }
  }
  for (size_t j : plan.adds) {
    ToBuffer(tips[j], VTH);
    if (const int32_t code = VISTIP.Add(); code != 0) return code;
  }
  return 0;
}

// The text of a whole file being exported. Each tip's section is written as it is read, into
// blocks that never move, beside the bytes of its procedure, control and type; only the order
// of the sections is sorted at the end, and not at all when the file already holds its tips in
// the order of the text form.
class ExportSections {
 public:
  void Add(const TipText& t) {
    if (blocks_.empty() || blocks_.back().size() > kBlock - kBlock / 8) NewBlock();
    std::string& block = blocks_.back();
    Section s{static_cast<uint32_t>(keys_.size()),
              static_cast<uint32_t>(blocks_.size() - 1),
              static_cast<uint32_t>(block.size()),
              0,
              {static_cast<uint8_t>(t.procedure.size()), static_cast<uint8_t>(t.control.size()),
               static_cast<uint8_t>(t.type.size())}};
    keys_.append(t.procedure).append(t.control).append(t.type);
    AppendTipText(block, t);
    s.end = static_cast<uint32_t>(block.size());
    if (!sections_.empty() && Before(s, sections_.back())) sorted_ = false;
    sections_.push_back(s);
  }

  void Write(const std::function<void(std::string_view)>& write) {
    write(kTipTextHeader);
    if (sorted_) {
      for (const std::string& block : blocks_) write(block);
      return;
    }
    std::stable_sort(sections_.begin(), sections_.end(),
                     [this](const Section& a, const Section& b) { return Before(a, b); });
    for (const Section& s : sections_)
      write(std::string_view(blocks_[s.block]).substr(s.begin, s.end - s.begin));
  }

 private:
  static constexpr size_t kBlock = size_t{8} << 20;
  struct Section {
    uint32_t key, block, begin, end;
    uint8_t lengths[3];  // of procedure, control and type (at most 50, 50, 20)
  };

  // By procedure, control and type, as bytes without sign.
  bool Before(const Section& a, const Section& b) const {
    size_t at_a = a.key, at_b = b.key;
    for (int part = 0; part < 3; ++part) {
      const std::string_view x = std::string_view(keys_).substr(at_a, a.lengths[part]);
      const std::string_view y = std::string_view(keys_).substr(at_b, b.lengths[part]);
      if (x != y) return x < y;
      at_a += a.lengths[part];
      at_b += b.lengths[part];
    }
    return false;
  }

  // A block whose memory is mapped in one call (and backed by huge pages where the system
  // allows): tens of megabytes of text would otherwise cost a page fault every 4 KB.
  void NewBlock() {
    std::string& block = blocks_.emplace_back();
    block.reserve(kBlock);
    constexpr uintptr_t kPage = 4096, kHuge = uintptr_t{2} << 20;
    const auto start = reinterpret_cast<uintptr_t>(block.data());
    const uintptr_t huge_from = (start + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t huge_to = (start + kBlock) & ~(kHuge - 1);
    if (huge_to > huge_from)
      madvise(reinterpret_cast<void*>(huge_from), huge_to - huge_from, MADV_HUGEPAGE);
    const uintptr_t from = (start + kPage - 1) & ~(kPage - 1);
    const uintptr_t to = (start + kBlock) & ~(kPage - 1);
    madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
  }

  std::vector<std::string> blocks_;
  std::string keys_;
  std::vector<Section> sections_;
  bool sorted_ = true;
};

}  // namespace

std::string TipTitle(const TipText& t) {
  return EscapeText(t.procedure) + " / " + EscapeText(t.control) + " / " + EscapeText(t.type);
}

std::string ErrorCodes() {
  const int32_t code = rt::ErrorCode();
  std::string codes = "error " + std::to_string(code);
  if (code != rt::kDriverError) return codes;
  const std::string source = rt::FileErrorCode();
  if (source.starts_with("errno")) return codes + ", " + source;
  return source == "driver" ? codes : codes + ", SQLite code " + source;
}

std::string ErrorDetail() {
  return rt::Error() + " (" + ErrorCodes() + ")";
}

TipFileResult OpenExistingTipFile(const std::string& tip_file) {
  TipFileResult r;
  if (!OpenForReading(tip_file, r)) return r;
  // A command that reads a few tips would not meet damage elsewhere: it is looked for.
  if (const int32_t code = VISTIP.Verify(); code != 0) {
    r.code = code;
    r.error = Failure(tip_file, code, false);
    VISTIP.Close();
    return r;
  }
  r.ok = true;
  return r;
}

TipFileResult ForEachTip(const std::string& tip_file,
                         const std::function<void(const TipText&)>& each) {
  TipFileResult r;
  if (!OpenForReading(tip_file, r)) return r;
  r.ok = ReadOpenFile(tip_file, each, r);
  VISTIP.Close();
  return r;
}

TipFileResult ExportTips(const std::string& tip_file, std::vector<TipText>& tips) {
  return ForEachTip(tip_file, [&tips](const TipText& t) { tips.push_back(t); });
}

TipFileResult ExportText(const std::string& tip_file,
                         const std::function<void(std::string_view)>& write) {
  ExportSections sections;
  const TipFileResult r = ForEachTip(tip_file, [&sections](const TipText& t) { sections.Add(t); });
  if (r.ok) sections.Write(write);
  return r;
}

TipWriteResult WriteTips(const std::string& tip_file, const std::vector<TipText>& tips,
                         TipWrite how, bool dry_run) {
  TipWriteResult r;
  bool created = false;
  std::vector<TipText> records;
  GLO.VTAPPNAME = tip_file;
  const uint8_t mode = dry_run ? rt::kOpenReadShared : rt::kOpenShared;
  int32_t code = VISTIP.Open(mode);
  if (code == rt::kFileNotFound && dry_run) {
    MakePlan(records, tips, how, r);  // a missing file would be created empty
    r.ok = true;
    return r;
  }
  if (code == rt::kFileNotFound) {
    if ((code = VISTIP.Create()) != 0) {
      r.code = code;
      r.error = tip_file + ": cannot be created: " + ErrorDetail();
      return r;
    }
    created = true;
    code = VISTIP.Open(mode);
  }
  if (code != 0) {
    DescribeOpenFailure(tip_file, code, !dry_run, r);
    if (created) std::filesystem::remove(tip_file);
    return r;
  }
  // Every step from here either succeeds or ends the batch with nothing of it kept.
  auto fail = [&](int32_t failed, const std::string& doing) {
    r.code = failed;
    r.error = Failure(tip_file, failed, !dry_run) + "; " + doing;
    VISTIP.Rollback();
    VISTIP.Close();
    if (created) std::filesystem::remove(tip_file);
    return r;
  };
  const std::string nothing = dry_run ? "nothing read" : "nothing was changed";
  if (!dry_run) {
    if ((code = VISTIP.Stream()) != 0) return fail(code, nothing);
  }
  if ((code = VISTIP.Verify()) != 0) return fail(code, nothing);
  if (!ReadOpenFile(
          tip_file, [&records](const TipText& t) { records.push_back(t); }, r))
    return fail(r.code, nothing);
  const Plan plan = MakePlan(records, tips, how, r);
  if (!dry_run) {
    if ((code = Apply(plan, tips)) != 0) return fail(code, nothing);
    if ((code = VISTIP.Flush()) != 0) return fail(code, nothing);
  }
  VISTIP.Close();  // after the commit: nothing left that could fail
  r.ok = true;
  return r;
}

TipWriteResult ImportTips(const std::string& tip_file, const std::vector<TipText>& tips) {
  return WriteTips(tip_file, tips, TipWrite::kAdd);
}

}  // namespace vistip

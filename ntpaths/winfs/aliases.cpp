// A directory's aliases: read from the records kept with its entries, and given to the entries
// that have none under the directory's lock, on a fresh reading of it, so that an alias once
// handed out is never given to another entry while its own exists.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <set>
#include <unordered_map>

#include "ntpaths/winfs/lookup.h"
#include "ntpaths/winfs/names.h"
#include "ntpaths/winfs/syscalls.h"

namespace winfs {

// Chooses and stores new aliases in a listing read under the directory's lock.
class AliasChooser {
 public:
  explicit AliasChooser(DirListing& listing) : l_(listing) {}

  // The alias of entry I: the one it holds, else a new one (empty when none can be kept).
  std::string AliasFor(size_t i) {
    l_.ReadRecords({i});
    const DirListing::Entry& e = l_.entries_[i];
    if (!e.recordRead || e.stored.state == StoredAlias::State::kUnreadable) return {};
    return e.stored.state == StoredAlias::State::kValid ? e.stored.alias : Give(i);
  }

 private:
  // The alias of entry I, whose record was read and holds none for it: the first free one, kept
  // with the entry; empty when it cannot be kept there, and then none is handed out.
  std::string Give(size_t i) {
    DirListing::Entry& e = l_.entries_[i];
    if (e.stored.state == StoredAlias::State::kOtherName && IsSecondLink(e.name)) return {};
    std::string alias = FirstFreeAlias(
        StemOf(e.name), [this](const AliasGroup& g, const std::string& a) { return Used(g, a); },
        &next_);
    // A record of the group that could not be read might hold the chosen number.
    if (alias.empty() || blind_) return {};
    if (StoreAlias(JoinPosix(l_.dir_, e.name), l_.dirId_, e.name, alias) != 0) return {};
    IndexAlias(l_.dir_, alias, e.name);
    e.stored = StoredAlias{StoredAlias::State::kValid, alias};
    taken_.insert(alias);
    return alias;
  }

  // A file with several links keeps the record of the name that got it first; the other names
  // get no alias rather than taking the record away from it.
  bool IsSecondLink(const std::string& name) {
    struct statx st;
    std::string path = JoinPosix(l_.dir_, name);
    return Sys().statx(path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_NLINK, &st) != 0 ||
           (!S_ISDIR(st.stx_mode) && st.stx_nlink > 1);
  }

  bool Used(const AliasGroup& group, const std::string& alias) {
    if (l_.RealShortNames().count(alias)) return true;
    if (loaded_.insert(group.key).second) {
      // Only an entry of this group can hold one of its aliases: every alias is made from its
      // own entry's name.
      std::vector<size_t> members;
      for (size_t i = 0; i < l_.entries_.size(); ++i)
        if (l_.entries_[i].needsAlias &&
            StemMatches(l_.entries_[i].name, group.prefix, group.digits, group.ext))
          members.push_back(i);
      l_.ReadRecords(members);
      for (size_t i : members) {
        const DirListing::Entry& m = l_.entries_[i];
        if (m.stored.state == StoredAlias::State::kValid) taken_.insert(m.stored.alias);
        if (!m.recordRead || m.stored.state == StoredAlias::State::kUnreadable) blind_ = true;
      }
    }
    return taken_.count(alias) > 0;
  }

  DirListing& l_;
  std::set<std::string> loaded_;
  std::unordered_set<std::string> taken_;
  std::map<std::string, std::uint32_t> next_;
  bool blind_ = false;
};

std::vector<std::string> GiveAliases(const std::string& dir,
                                     const std::vector<std::string>& names) {
  std::vector<std::string> out(names.size());
  DirLock lock(dir);
  if (!lock.held()) return out;
  DirListing fresh;
  if (fresh.Read(dir, true) != 0) return out;
  std::unordered_map<std::string_view, size_t> at;
  for (size_t i = 0; i < fresh.size(); ++i) at.emplace(fresh.Name(i), i);
  // Entries seen together take their numbers in the order of their names.
  std::vector<size_t> order(names.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return ListsBefore(names[a], names[b]); });
  AliasChooser chooser(fresh);
  for (size_t k : order) {
    auto found = at.find(names[k]);
    if (found == at.end() || !fresh.NeedsAlias(found->second)) continue;
    out[k] = chooser.AliasFor(found->second);
  }
  return out;
}

namespace {

std::string DirIdOfPath(const std::string& dir) {
  struct statx st;
  if (Sys().statx(dir.c_str(), 0, STATX_INO, &st) != 0) return {};
  return DirIdOf(st.stx_dev_major, st.stx_dev_minor, st.stx_ino);
}

}  // namespace

std::string KeptAlias(const std::string& dir, const std::string& name) {
  std::string dirId = DirIdOfPath(dir);
  if (dirId.empty()) return {};
  StoredAlias stored = ReadStoredAlias(AT_FDCWD, JoinPosix(dir, name), dirId, name);
  return stored.state == StoredAlias::State::kValid ? stored.alias : std::string();
}

std::string IndexedHolder(const std::string& dir, std::string_view alias) {
  auto q = ParseAlias(alias);
  if (!q) return {};
  std::string want = FormatAlias(q->prefix, q->number, q->ext);
  std::string name = IndexedName(dir, want);
  if (name.empty() || name.find('/') != std::string::npos || KeptAlias(dir, name) != want)
    return {};
  return name;
}

void DirListing::ReadRecords(const std::vector<size_t>& index) {
  int dirfd = -1;
  for (size_t i : index) {
    Entry& e = entries_[i];
    if (e.recordRead || !e.needsAlias) continue;
    if (dirfd < 0) {
      dirfd = Sys().open(dir_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
      if (dirfd < 0) return;  // nothing can be read: the entries stay unread
    }
    e.stored = ReadStoredAlias(dirfd, e.name, dirId_, e.name);
    e.recordRead = true;
    e.settled = e.stored.state == StoredAlias::State::kValid;
  }
  if (dirfd >= 0) Sys().close(dirfd);
}

void DirListing::Settle(const std::vector<size_t>& index) {
  std::vector<std::string> names;
  for (size_t i : index) names.push_back(entries_[i].name);
  std::vector<std::string> given = GiveAliases(dir_, names);
  for (size_t k = 0; k < index.size(); ++k) {
    Entry& e = entries_[index[k]];
    e.settled = true;
    e.recordRead = true;
    e.stored.state = given[k].empty() ? StoredAlias::State::kNone : StoredAlias::State::kValid;
    e.stored.alias = std::move(given[k]);
  }
}

const std::unordered_set<std::string>& DirListing::RealShortNames() {
  if (!realShortKnown_) {
    for (const Entry& e : entries_)
      if (IsShortName(e.name)) realShort_.insert(ToUpper(e.name));
    realShortKnown_ = true;
  }
  return realShort_;
}

const std::string& DirListing::AliasOf(size_t i) {
  static const std::string kNone;
  Entry& e = entries_[i];
  if (!e.needsAlias) return kNone;
  if (!e.settled) {
    ReadRecords({i});
    if (!e.settled) Settle({i});
  }
  return e.stored.state == StoredAlias::State::kValid ? e.stored.alias : kNone;
}

long DirListing::FindAlias(std::string_view name) {
  if (!shortNames_) return -1;
  auto q = ParseAlias(name);
  if (!q) return -1;
  std::string want = FormatAlias(q->prefix, q->number, q->ext);
  auto holds = [&](size_t i) {
    return entries_[i].stored.state == StoredAlias::State::kValid &&
           entries_[i].stored.alias == want;
  };
  std::vector<size_t> group;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].needsAlias || !StemMatches(entries_[i].name, q->prefix, q->digits, q->ext))
      continue;
    if (holds(i)) return static_cast<long>(i);
    if (!entries_[i].settled) group.push_back(i);
  }
  // Aliases are unique in a directory: the first record that holds it is the one.
  int dirfd = group.empty() ? -1 : Sys().open(dir_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
  std::vector<size_t> pending;
  for (size_t i : group) {
    Entry& e = entries_[i];
    if (dirfd >= 0 && !e.recordRead) {
      e.stored = ReadStoredAlias(dirfd, e.name, dirId_, e.name);
      e.recordRead = true;
      e.settled = e.stored.state == StoredAlias::State::kValid;
      if (holds(i)) {
        Sys().close(dirfd);
        return static_cast<long>(i);
      }
    }
    if (!e.settled) pending.push_back(i);
  }
  if (dirfd >= 0) Sys().close(dirfd);
  if (pending.empty()) return -1;
  Settle(pending);
  for (size_t i : pending)
    if (holds(i)) return static_cast<long>(i);
  return -1;
}

void DirListing::AssignAll() {
  if (!shortNames_) return;
  std::vector<size_t> all;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].settled) all.push_back(i);
  ReadRecords(all);
  std::vector<size_t> pending;
  for (size_t i : all)
    if (!entries_[i].settled) pending.push_back(i);
  if (!pending.empty()) Settle(pending);
}

}  // namespace winfs

// View: chosen fields of a File read in record order.
#include <algorithm>

#include "runtime/errors.h"
#include "runtime/file/file_impl.h"

namespace rt {

using file::Code;
using file::Report;
using file::Status;

View::View(File& file, std::vector<size_t> fields) : file_(file), fields_(std::move(fields)) {}

View::~View() = default;

int32_t View::SetFilter(std::string_view expression) {
  if (file::ClipName(expression).empty()) return Report(file::Ok());
  return Report(file::DriverError("the view filter cannot be evaluated: " +
                                  std::string(file::ClipName(expression))));
}

int32_t View::Open() {
  const File::Impl& f = *file_.impl_;
  Status status = f.Opened();
  if (status.ok() && std::any_of(fields_.begin(), fields_.end(),
                                 [&](size_t field) { return field >= f.decl.fields.size(); })) {
    status = file::DriverError("the view names a field " + f.decl.label + " does not declare");
  }
  if (status.ok()) {
    open_ = true;
    position_ = 0;
  }
  return Report(status);
}

int32_t View::Next() {
  File::Impl& f = *file_.impl_;
  Status status = open_ ? f.Opened() : Code(kFileNotOpen);
  if (status.ok()) {
    status = f.store.ReadAfter(position_, [&](const file::RecordStore::Row& row) {
      for (size_t field : fields_) {
        const FieldDecl& decl = f.decl.fields[field];
        file::Bytes stored =
            row.record.size() > decl.offset ? row.record.subspan(decl.offset) : file::Bytes();
        file::CopyPadded(stored.first(std::min(stored.size(), decl.size)),
                         f.record.subspan(decl.offset, decl.size));
      }
      position_ = row.id;
    });
  }
  return Report(status);
}

int32_t View::Close() {
  open_ = false;
  return Report(file::Ok());
}

}  // namespace rt

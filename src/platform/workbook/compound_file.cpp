// libgsf's headers come first: they name GObject members that Qt's keywords would spoil.
#include "platform/workbook/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include "platform/workbook/workbook_source.h"

namespace vx::workbook::detail {

namespace {

struct Unref {
  void operator()(void* p) const {
    if (p) g_object_unref(p);
  }
};

QString Reason(GError* err) {
  QString m = err ? QString::fromUtf8(err->message) : QString();
  if (err) g_error_free(err);
  return m;
}

}  // namespace

CompoundFile ReadCompoundFile(const QString& hostPath, const QStringList& wanted) {
  static const bool initialised = [] {
    gsf_init();
    // A damaged container is reported by the error this returns; libgsf's own warnings
    // about it would only clutter the program's output.
    const auto quiet = [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {};
    const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE);
    const auto withChecks = static_cast<GLogLevelFlags>(levels | G_LOG_LEVEL_CRITICAL);
    g_log_set_handler("libgsf", withChecks, quiet, nullptr);
    g_log_set_handler("libgsf:msole", withChecks, quiet, nullptr);
    g_log_set_handler(nullptr, levels, quiet, nullptr);
    return true;
  }();
  (void)initialised;
  GError* err = nullptr;
  std::unique_ptr<GsfInput, Unref> input(
      gsf_input_stdio_new(hostPath.toLocal8Bit().constData(), &err));
  if (!input)
    throw WorkbookError(QStringLiteral("il file non si può leggere (%1)").arg(Reason(err)));
  std::unique_ptr<GsfInfile, Unref> infile(gsf_infile_msole_new(input.get(), &err));
  if (!infile) throw WorkbookError(DamagedMessage(Reason(err)));

  CompoundFile out;
  const int n = gsf_infile_num_children(infile.get());
  int found = -1;
  for (int i = 0; i < n; ++i) {
    const char* name = gsf_infile_name_by_index(infile.get(), i);
    const QString s = QString::fromUtf8(name ? name : "");
    out.streams << s;
  }
  // The first wanted name present wins, in the order asked.
  for (const QString& w : wanted) {
    for (int i = 0; i < n && found < 0; ++i) {
      if (out.streams[i].compare(w, Qt::CaseInsensitive) == 0) found = i;
    }
  }
  if (found < 0) return out;
  std::unique_ptr<GsfInput, Unref> stream(gsf_infile_child_by_index(infile.get(), found));
  if (!stream) throw WorkbookError(DamagedMessage());
  const gsf_off_t size = gsf_input_size(stream.get());
  if (size < 0 || size > (gsf_off_t{1} << 30)) throw WorkbookError(DamagedMessage());
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  gsf_off_t done = 0;
  while (done < size) {
    const gsf_off_t chunk = std::min<gsf_off_t>(size - done, 1 << 20);
    if (!gsf_input_read(stream.get(), static_cast<size_t>(chunk),
                        reinterpret_cast<guint8*>(bytes.data() + done))) {
      throw WorkbookError(DamagedMessage(QStringLiteral("flusso troncato")));
    }
    done += chunk;
  }
  out.content = std::move(bytes);
  return out;
}

}  // namespace vx::workbook::detail

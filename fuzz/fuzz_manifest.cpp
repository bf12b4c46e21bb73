// Any bytes as a manifest: the reader refuses them, naming rows and
// columns, or every unit it takes builds again from the template into the
// very content it was checked with.

#include "core/content/manifest.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// A template every field of which a download takes.
FormValues downloadableTemplate()
{
    FormValues form = initialFormValues();
    const char *const visible[] = {"36309888000", "1234", "0042", "KAPU", "1", "AJTO", "ABLAK", "30",
                                   "KI3 BE", "KI4 BE", "KI3 KI", "KI4 KI", "BE1 BE", "BE2 BE", "BE1 KI", "BE2 KI"};
    for (int i = 0; i < int(std::size(visible)); ++i)
        form.texts[i] = QString::fromLatin1(visible[i]);
    return form;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FormValues templateForm = downloadableTemplate();
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const LinkSettings settings;
    const Manifest manifest = readManifest(buffer, templateForm, settings);
    for (const ManifestUnit &unit : manifest.units) {
        const std::optional<BuiltUnit> built = buildUnit(unit, templateForm, settings);
        if (!built || !unit.makes(built->content))
            std::abort();
    }
    return 0;
}

// Encoding detection and decoding: the automatic choice always gives text, and every encoding of
// the table decodes any bytes without a crash; the text as UTF-8 is the same text.
#include "FuzzSupport.h"

#include "addressbook/TextEncodings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const auto [text, encoding] = TextEncodings::decodeDetected(bytes);
    // Only a byte-order mark, with at most an incomplete code unit after it, gives no characters.
    require(size < 8 || !text.isEmpty(), "the detected encoding gives text");
    require(TextEncodings::find(encoding).has_value(), "the detected encoding is in the table");
    // The import takes the same text as UTF-8 bytes.
    const TextEncodings::Utf8Result utf8 = TextEncodings::decodeToUtf8(bytes, TextEncodings::Automatic, {});
    require(utf8.text == text.toUtf8() && utf8.encoding == encoding, "the UTF-8 text is the decoded text");
    for (const TextEncodings::Encoding &entry : TextEncodings::all())
        (void)TextEncodings::decode(bytes, entry.encoding);
    return 0;
}

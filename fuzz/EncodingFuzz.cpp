// Encoding detection and decoding: the automatic choice always gives text, and every encoding of
// the table decodes any bytes without a crash.
#include "FuzzSupport.h"

#include "addressbook/TextEncodings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const auto [text, encoding] = TextEncodings::decodeDetected(bytes);
    // Only a byte-order mark, with at most an incomplete code unit after it, gives no characters.
    require(size < 8 || !text.isEmpty(), "the detected encoding gives text");
    require(TextEncodings::find(encoding).has_value(), "the detected encoding is in the table");
    for (const TextEncodings::Encoding &entry : TextEncodings::all())
        (void)TextEncodings::decode(bytes, entry.encoding);
    return 0;
}

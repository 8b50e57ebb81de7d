#!/bin/sh
# Runs every benchmark case as a process of its own under /usr/bin/time -v and prints its median
# time and the peak resident memory of that process (data making excluded: it runs first).
# Usage: bench/measure.sh [build folder] [repetitions]
set -eu
build=${1:-build-bench}
repetitions=${2:-5}
programs="$build/bench"
# Makes the data when missing, so that no measured process makes it.
"$programs/bench_vcard" --benchmark_filter=^none$ >/dev/null 2>&1
printf '%-28s %12s %12s\n' case "median ms" "peak MiB"
for entry in \
    load:loadToFirstRows load:loadAddressBook load:reloadAddressBook load:fetchContacts \
    load:convertInSlices load:firstUpdateTable \
    grid:updateTableByName grid:updateTableByPhone grid:updateTableWithCompanyLines grid:labelFilterChange \
    grid:updateTableAfterEdit \
    vcard:readVCards vcard:writeVCards vcard:writeEditedVCards vcard:storeReadVCards vcard:storeWriteVCards \
    vcard:readCardsWithoutEnd vcard:readLineWithoutColon vcard:readTinyCards300k \
    csv:readCsv csv:writeCsv save:saveChanges \
    find:findSnapshot find:findFirstSnapshot find:findScan find:findScanRegex find:findInWindow \
    print:layoutAddressList print:printAddressListToPdf; do
    program=${entry%%:*}
    case=${entry#*:}
    log=$(mktemp)
    /usr/bin/time -v "$programs/bench_$program" "--benchmark_filter=^$case(/|\$)" \
        --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_format=csv >"$log" 2>&1
    median=$(grep -E "^\"${case}(/iterations:[0-9]+)?(/real_time)?_median\"" "$log" | cut -d, -f3)
    peak=$(grep "Maximum resident" "$log" | awk '{ printf "%.0f", $NF / 1024 }')
    printf '%-28s %12.1f %12s\n' "$case" "${median:-0}" "$peak"
    rm -f "$log"
done

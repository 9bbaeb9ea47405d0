# SPDX-License-Identifier: MIT
# The one time of a release: the date of the newest entry of
# packaging/debian/changelog, the release's own dated record, so that a build
# from a tarball without .git is stamped as one from a clone, and no package
# carries the time or the time zone of the machine that made it. Sets
#   ZARVEL_SOURCE_DATE_EPOCH  seconds since 1970-01-01 00:00 UTC
#   ZARVEL_RELEASE_DATE       the same day in UTC, YYYY-MM-DD (the metainfo's)
#   ZARVEL_CHANGELOG_VERSION  the version that entry is for
# Run as a script it prints "VERSION SECONDS" (scripts/release uses it):
#   cmake -P cmake/ZarvelReleaseTime.cmake

# zarvel_days_from_civil(out year month day): days from 1970-01-01 to the
# given day of the proleptic Gregorian calendar (years from 1970 on).
function(zarvel_days_from_civil out year month day)
    if(month LESS_EQUAL 2)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR era "${year} / 400")
    math(EXPR year_of_era "${year} - ${era} * 400")
    math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
    math(EXPR day_of_era
        "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
    math(EXPR days "${era} * 146097 + ${day_of_era} - 719468")
    set(${out} ${days} PARENT_SCOPE)
endfunction()

# zarvel_release_time(changelog): reads the newest entry's version and its
# trailer line (" -- name <mail>  Wed, 09 Dec 2026 12:00:00 +0000") and sets
# the three variables above in the caller's scope.
function(zarvel_release_time changelog)
    file(STRINGS "${changelog}" heading LIMIT_COUNT 1 REGEX "^[a-z0-9.+-]+ \\(")
    string(REGEX REPLACE "^[^(]*\\(([^)]*)\\).*" "\\1" version "${heading}")
    file(STRINGS "${changelog}" trailer LIMIT_COUNT 1 REGEX "^ -- ")
    set(date_pattern
        ">  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ([0-9]+):([0-9]+):([0-9]+) ([+-])([0-9][0-9])([0-9][0-9])$")
    if(NOT trailer MATCHES "${date_pattern}")
        message(FATAL_ERROR "${changelog}: no dated trailer line in its newest entry")
    endif()
    set(names day month_name year hour minute second sign offset_hours offset_minutes)
    set(index 0)
    foreach(name IN LISTS names)
        math(EXPR index "${index} + 1")
        set(${name} "${CMAKE_MATCH_${index}}")
    endforeach()
    foreach(name IN LISTS names)
        # Leading zeros would read as octal in math(EXPR).
        string(REGEX REPLACE "^0+([0-9])" "\\1" ${name} "${${name}}")
    endforeach()
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months "${month_name}" month)
    if(month LESS 0)
        message(FATAL_ERROR "${changelog}: '${month_name}' is no month")
    endif()
    math(EXPR month "${month} + 1")
    zarvel_days_from_civil(days ${year} ${month} ${day})
    # The time in the trailer is local to its offset; UTC is that less it.
    math(EXPR epoch "${days} * 86400 + ${hour} * 3600 + ${minute} * 60 + ${second}
        - (${sign}1) * (${offset_hours} * 3600 + ${offset_minutes} * 60)")
    # string(TIMESTAMP) reads SOURCE_DATE_EPOCH when it is set: the day of
    # the release time, whatever the clock says.
    set(saved "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
    string(TIMESTAMP release_date "%Y-%m-%d" UTC)
    set(ENV{SOURCE_DATE_EPOCH} "${saved}")
    set(ZARVEL_SOURCE_DATE_EPOCH ${epoch} PARENT_SCOPE)
    set(ZARVEL_RELEASE_DATE ${release_date} PARENT_SCOPE)
    set(ZARVEL_CHANGELOG_VERSION ${version} PARENT_SCOPE)
endfunction()

zarvel_release_time("${CMAKE_CURRENT_LIST_DIR}/../packaging/debian/changelog")
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E echo
        "${ZARVEL_CHANGELOG_VERSION} ${ZARVEL_SOURCE_DATE_EPOCH}")
endif()

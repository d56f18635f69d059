# Writes the release's dated files into OUTPUT_FOLDER: the AppStream metainfo and the
# gzipped manual page, with the version and the release date filled in. The date is
# SOURCE_DATE_EPOCH's when that is set, else the last commit's, so that one source
# always gives the same bytes; a tree without git history and without
# SOURCE_DATE_EPOCH takes today's.
#
#     cmake -DSOURCE_DIR=<repository> -DVERSION=<version> -DOUTPUT_FOLDER=<folder> \
#           -P cmake/ReleaseFiles.cmake
#
# Install.cmake includes it at install time with the same variables set.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR OR NOT VERSION OR NOT OUTPUT_FOLDER)
    message(FATAL_ERROR "ReleaseFiles.cmake needs SOURCE_DIR, VERSION and OUTPUT_FOLDER")
endif()

if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -c "safe.directory=*" -C "${SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE release_files_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE release_files_result ERROR_QUIET)
    if(release_files_result EQUAL 0 AND release_files_epoch MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} "${release_files_epoch}")
    endif()
endif()
# string(TIMESTAMP) reads SOURCE_DATE_EPOCH itself.
string(TIMESTAMP DATE "%Y-%m-%d" UTC)

set(release_files_linux "${SOURCE_DIR}/packaging/linux")
file(MAKE_DIRECTORY "${OUTPUT_FOLDER}")
configure_file("${release_files_linux}/org.quillmoor.Bricketing.metainfo.xml"
               "${OUTPUT_FOLDER}/org.quillmoor.Bricketing.metainfo.xml" @ONLY)
configure_file("${release_files_linux}/bricketing.1" "${OUTPUT_FOLDER}/bricketing.1" @ONLY)
# -n: no name or time in the header.
execute_process(COMMAND gzip -9nf "${OUTPUT_FOLDER}/bricketing.1" RESULT_VARIABLE release_files_result)
if(NOT release_files_result EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${OUTPUT_FOLDER}/bricketing.1")
endif()

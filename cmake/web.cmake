# How a Qt program is linked for the web page (tools/web_build.sh): the
# settings Qt's own qt_add_executable would add, and those that keep the page
# within its Content-Security-Policy and its promise to store nothing.
#   pokomoji_web_program(TARGET)
function(pokomoji_web_program target)
    target_link_options(${target} PRIVATE
        # Qt's platform code reads and writes JavaScript strings with these.
        "SHELL:-s EXPORTED_RUNTIME_METHODS=UTF16ToString,stringToUTF16"
        # Room for the windows' backing stores from the start; more if asked.
        "SHELL:-s INITIAL_MEMORY=52428800"
        # Only a browser's page runs it: no code for Node or workers.
        "SHELL:-s ENVIRONMENT=web"
        # The glue makes no functions from strings, so the page's policy
        # needs no 'unsafe-eval' (only 'wasm-unsafe-eval' for the module).
        "SHELL:-s DYNAMIC_EXECUTION=0"
        # Qt links emscripten's fetch, which would otherwise open an
        # IndexedDB database at start-up; the page stores nothing.
        "SHELL:-s FETCH_SUPPORT_INDEXEDDB=0")
endfunction()

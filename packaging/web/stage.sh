# Makes the static folder of a web page from a program's module: the page
# (packaging/web/), the module as pokomoji.js and pokomoji.wasm, the icons
# rendered from assets/icon.svg at the sizes browsers ask for, the manifest,
# the service worker with the list of files it keeps, and .gz and .br copies
# of every file that compresses, for servers that send them as they are.
# Sourced by tools/web_build.sh and tools/web_bench.sh, which define say.
#
#   stage_page FOLDER MODULE_JS MODULE_WASM SVG2PNG VERSION

stage_page() {
    local folder=$1 module_js=$2 module_wasm=$3 svg2png=$4 version=$5
    local page=$root/packaging/web
    rm -rf "$folder"
    mkdir -p "$folder"
    cp "$module_js" "$folder/pokomoji.js"
    cp "$module_wasm" "$folder/pokomoji.wasm"
    cp "$page/index.html" "$page/page.css" "$page/manifest.webmanifest" "$folder/"
    sed "s/@POKOMOJI_WASM_BYTES@/$(stat -c %s "$module_wasm")/" "$page/page.js" >"$folder/page.js"

    # The icon's drawing is 32 units square: 192 and 512 pixels for the
    # manifest, and 180 on white for the home screens of iPads and iPhones,
    # which show a transparent corner black.
    "$svg2png" "$root/assets/icon.svg" "$folder/icon-192.png" 6
    "$svg2png" "$root/assets/icon.svg" "$folder/icon-512.png" 16
    "$svg2png" "$root/assets/icon.svg" "$folder/apple-touch-icon.png" 5.625 '#ffffff'
    cp "$root/assets/icon.svg" "$folder/icon.svg"

    local files=(index.html page.js page.css pokomoji.js pokomoji.wasm manifest.webmanifest
        icon-192.png icon-512.png apple-touch-icon.png icon.svg)
    local listed file contents
    listed=$(printf "'%s', " "${files[@]}")
    # The copy's name carries the files' checksum: any change to them changes
    # the worker, which browsers then install anew with a fresh copy, also
    # for a build of the same version.
    contents=$(cd "$folder" && sha256sum "${files[@]}" | sha256sum | cut -c1-16)
    sed -e "s/@POKOMOJI_VERSION@/$version-$contents/" -e "s/@POKOMOJI_FILES@/${listed%, }/" \
        "$page/sw.js" >"$folder/sw.js"

    for file in index.html page.js page.css pokomoji.js pokomoji.wasm manifest.webmanifest \
        icon.svg sw.js; do
        gzip -9 -n -k "$folder/$file"
        brotli -q 11 -k "$folder/$file"
    done
}

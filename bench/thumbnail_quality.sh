#!/bin/bash
# How sharp the gallery's tiles are, beside vipsthumbnail, and how fast both
# make them, in one run.
#
# Quality: for every picture of the folders and the tile sizes 200x200,
# 333x217 and 500x500, the rectangle the picture is fitted into on the tile
# (the parts a tile cuts off included) is made by the gallery's own path and
# by vipsthumbnail, and each compared by PSNR and SSIM with a Lanczos-3
# resize of the whole decoded picture into the same rectangle
# (convert in.jpg -filter Lanczos -resize WxH!). Prints a line per picture and
# size, then the means and the worst gap to vipsthumbnail.
#
# Speed: gallery_bench's scans and vipsthumbnail's runs over the same files,
# on all cores and held to one core (taskset -c 0; vipsthumbnail then with
# VIPS_CONCURRENCY=1).
#
# The folders: the photographs, and the same made progressive
# (jpegtran -progressive) as phones and cameras write large files.
# Needs: imagemagick, libvips-tools, libjpeg-turbo-progs.
# Usage: bench/thumbnail_quality.sh BUILD_DIR [photo folder]
#        QUALITY_ONLY=1 skips the speed runs, SPEED_ONLY=1 the quality;
#        SPEED_FOLDERS=photos or =progressive times one folder only.
set -euo pipefail
build=${1:-build}
photos=${2:-/work/shared/data/jpeg/photos}
for tool in convert vipsthumbnail jpegtran "$build/bench/thumbnail_tile" "$build/bench/image_compare"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/progressive" "$work/out"
for f in "$photos"/*.jpg; do
    jpegtran -progressive -copy all -outfile "$work/progressive/$(basename "$f")" "$f"
done

quality() {  # folder label
    local folder=$1 label=$2 size
    for size in 200x200 333x217 500x500; do
        "$build/bench/thumbnail_tile" "$work/out" "$size" "$folder"/*.jpg |
            while read -r tile w h; do
                local name ref vips
                name=$(basename "$tile" .png)
                ref="$work/out/$name.ref.png"
                vips="$work/out/$name.vips.png"
                convert "$folder/${name%_*}.jpg" -filter Lanczos -resize "${w}x${h}!" "$ref"
                vipsthumbnail "$folder/${name%_*}.jpg" --size "${w}x${h}!" -o "$vips"
                echo "$label $size $name ${w}x${h} $("$build/bench/image_compare" "$ref" "$tile")" \
                    "$("$build/bench/image_compare" "$ref" "$vips")"
            done
    done
}

if [ -z "${SPEED_ONLY:-}" ]; then
    echo "-- quality against Lanczos-3 on the full decode: folder tile picture rect tile_psnr tile_ssim vips_psnr vips_ssim"
    { quality "$photos" photos; quality "$work/progressive" progressive; } | tee "$work/quality.txt"
    echo "-- means per tile size: tile_psnr tile_ssim vips_psnr vips_ssim, worst tile_psnr - vips_psnr (picture)"
    awk '$1 == "photos" {
            n[$2]++; tp[$2] += $5; ts[$2] += $6; vp[$2] += $7; vs[$2] += $8
            gap = $5 - $7
            if (!($2 in worst) || gap < worst[$2]) { worst[$2] = gap; who[$2] = $3 }
         }
         END { for (s in n) printf "%s %.2f dB %.4f | vips %.2f dB %.4f | worst %+.2f dB (%s)\n",
                   s, tp[s] / n[s], ts[s] / n[s], vp[s] / n[s], vs[s] / n[s], worst[s], who[s] }' \
        "$work/quality.txt" | sort
fi

[ -n "${QUALITY_ONLY:-}" ] && exit 0
for folder in ${SPEED_FOLDERS:-photos progressive}; do
    [ "$folder" = photos ] && folder=$photos || folder=$work/progressive
    echo "== speed: $folder"
    run() {  # filter command...
        local filter=$1
        shift
        QT_QPA_PLATFORM=offscreen QUILLET_BENCH_PICTURES=${QUILLET_BENCH_PICTURES:-20} \
            "$@" "$build/bench/gallery_bench" "$folder" --benchmark_filter="$filter" \
            --benchmark_counters_tabular=true
    }
    echo "-- all cores (vipsthumbnail with its default threads); $(uptime)"
    run 'galleryScan/photos|vipsThumbnail/.*one_thread:0' env
    echo "-- one core (taskset -c 0; vipsthumbnail with VIPS_CONCURRENCY=1); $(uptime)"
    run 'galleryScan/photos|vipsThumbnail/.*one_thread:1' taskset -c 0
done
